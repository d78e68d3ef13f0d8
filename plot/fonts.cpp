#include "plot/fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>

void RegisterFontSubstitutions() {
    struct Substitution {
        const char* designed;
        const char* installed;
    };
    static constexpr Substitution kSubstitutions[] = {
        {"Bookman Old Style", "URW Bookman"},
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"MS Sans Serif", "DejaVu Sans"},
        {"Wingdings", "DejaVu Sans"},
    };
    for (const Substitution& s : kSubstitutions) {
        const QString designed = QString::fromLatin1(s.designed);
        const QString installed = QString::fromLatin1(s.installed);
        if (!QFont::substitutes(designed).contains(installed))
            QFont::insertSubstitution(designed, installed);
    }
}
