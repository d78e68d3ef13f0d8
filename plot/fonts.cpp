#include "plot/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <limits>

namespace {

// A text the layouts set in a designed font, and the width of the room they
// give it there.
struct Reference {
    const char16_t* text;
    int pixels;
    int room;
};

struct Designed {
    const char* family;
    // Installed faces that can stand in for it, in order of preference.
    const char* candidates[3];
    // The face whose width for the reference comes closest to the room is
    // taken; without a reference, the first installed candidate.
    const Reference* reference;
    // A character the face must have.
    char16_t needs;
};

// The main menu's "Допуск к работе можно получить" is a label sized to its
// text in the designed Bookman Old Style, 268 pixels wide.
constexpr Reference kBookman{u"Допуск к работе можно получить", 16, 268};
// The first line of the admission test's third question runs in the designed
// MS Sans Serif from 16 pixels into its panel up to the verdict square at 320.
constexpr Reference kSansSerif{u"Каковы основные критерии выбора типа  линейного кода", 11, 304};

// Arial and Times New Roman have free clones made to their metrics.
constexpr Designed kDesigned[] = {
    {"Bookman Old Style", {"URW Bookman", "DejaVu Serif", "Liberation Serif"}, &kBookman, u'Ж'},
    {"Arial", {"Liberation Sans", "DejaVu Sans", nullptr}, nullptr, u'Ж'},
    {"Times New Roman", {"Liberation Serif", "DejaVu Serif", nullptr}, nullptr, u'Ж'},
    {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans", "Nimbus Sans"}, &kSansSerif, u'Ж'},
    {"Wingdings", {"DejaVu Sans", nullptr, nullptr}, nullptr, kCheckMarkCharacter},
};

bool Installed(const QString& family, char16_t needs) {
    if (!QFontDatabase::hasFamily(family))
        return false;
    QFont font(family);
    font.setPixelSize(16);
    return QFontMetrics(font).inFont(QChar(needs));
}

QString Choose(const Designed& designed) {
    QString chosen;
    int bestDistance = std::numeric_limits<int>::max();
    for (const char* candidate : designed.candidates) {
        if (candidate == nullptr)
            break;
        const QString family = QString::fromLatin1(candidate);
        if (!Installed(family, designed.needs))
            continue;
        if (designed.reference == nullptr)
            return family;
        QFont font(family);
        font.setPixelSize(designed.reference->pixels);
        const int width =
            QFontMetrics(font).horizontalAdvance(QString::fromUtf16(designed.reference->text));
        const int distance = std::abs(width - designed.reference->room);
        if (distance < bestDistance) {
            bestDistance = distance;
            chosen = family;
        }
    }
    // With none installed the first stays named, and the font matching of
    // the system picks what it has.
    return chosen.isEmpty() ? QString::fromLatin1(designed.candidates[0]) : chosen;
}

} // namespace

void RegisterFontSubstitutions() {
    for (const Designed& d : kDesigned) {
        const QString designed = QString::fromLatin1(d.family);
        const QString installed = Choose(d);
        if (QFont::substitutes(designed) != QStringList{installed}) {
            QFont::removeSubstitutions(designed);
            QFont::insertSubstitution(designed, installed);
        }
    }
}
