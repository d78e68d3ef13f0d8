#include "plot/fonts.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>

#include <gtest/gtest.h>

TEST(Fonts, DesignedFamiliesResolveToInstalledOnes) {
    int argc = 1;
    char name[] = "fonts_tests";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutions();
    RegisterFontSubstitutions(); // twice changes nothing

    const struct {
        const char* designed;
        const char* resolved;
    } cases[] = {
        {"Bookman Old Style", "URW Bookman"},
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Wingdings", "DejaVu Sans"},
    };
    for (const auto& c : cases) {
        QFont font(QString::fromLatin1(c.designed));
        font.setPixelSize(16);
        // Fontconfig may name the foundry after the family ("URW Bookman [urw]").
        EXPECT_TRUE(QFontInfo(font).family().startsWith(QString::fromLatin1(c.resolved)))
            << c.designed << " -> " << QFontInfo(font).family().toStdString();
        EXPECT_EQ(QFont::substitutes(QString::fromLatin1(c.designed)).size(), 1);
    }
    QFont check(QStringLiteral("Wingdings"));
    check.setPixelSize(19);
    EXPECT_TRUE(QFontMetrics(check).inFont(QChar(kCheckMarkCharacter)));
    // Cyrillic text must render in the window font, not in boxes.
    QFont bookman(QStringLiteral("Bookman Old Style"));
    EXPECT_TRUE(QFontMetrics(bookman).inFont(QChar(u'Ж')));

    // Texts of the layouts keep to the room the designed faces gave them: a
    // label sized to its text in Bookman Old Style, and the admission test's
    // widest question line, which must end before the verdict square.
    const struct {
        const char* family;
        int pixels;
        const char16_t* text;
        int least, most;
    } rooms[] = {
        {"Bookman Old Style", 16, u"Допуск к работе можно получить", 260, 276},
        {"MS Sans Serif", 11, u"Каковы основные критерии выбора типа  линейного кода", 270, 304},
    };
    for (const auto& r : rooms) {
        QFont font(QString::fromLatin1(r.family));
        font.setPixelSize(r.pixels);
        const int width = QFontMetrics(font).horizontalAdvance(QString::fromUtf16(r.text));
        EXPECT_GE(width, r.least) << r.family;
        EXPECT_LE(width, r.most) << r.family;
    }
}
