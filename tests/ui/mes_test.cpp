#include "plot/fonts.h"
#include "tests/ui/gui_test_app.h"
#include "ui/mes.h"
#include "ui/modal.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class MesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        GuiTestApp();
        RegisterFontSubstitutions();
    }
    template <class T>
    T* Child(const char* name) {
        T* child = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    Tmes dialog;
};

TEST_F(MesTest, FixedTextInFourCentredLinesAndTheOkButton) {
    struct Row {
        const char* name;
        int top, height;
        const char* text;
        int pixels;
        QColor colour;
    };
    const QColor windowText = dialog.palette().color(QPalette::WindowText);
    const Row rows[] = {
        {"Label1", 0, 21, "Неверно введена комбинация !", 19, QColor(255, 0, 0)},
        {"Label2", 21, 20, "Комбинация должна содержать", 16, windowText},
        {"Label3", 41, 20, "только \"0\" или \"1\"", 16, windowText},
        {"Label4", 61, 20, "(желательно 6-10 символов)", 16, windowText},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto* label = Child<QLabel>(row.name);
        // Grown, where the text needs it, around its designed rectangle.
        EXPECT_TRUE(label->geometry().contains(QRect(0, row.top, 330, row.height)));
        EXPECT_EQ(label->text(), QString::fromUtf8(row.text));
        EXPECT_EQ(label->alignment(), Qt::AlignHCenter | Qt::AlignTop);
        EXPECT_EQ(label->font().family(), QStringLiteral("Bookman Old Style"));
        EXPECT_EQ(label->font().pixelSize(), row.pixels);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), row.colour);
    }
    auto* ok = Child<QPushButton>("Button1");
    EXPECT_EQ(ok->geometry(), QRect(128, 88, 75, 25));
    EXPECT_EQ(ok->text(), QString::fromUtf16(u"\u041E\u041A")); // Cyrillic О and К
    EXPECT_EQ(ok->font().pixelSize(), 19);
    EXPECT_TRUE(ok->font().bold());
    EXPECT_EQ(dialog.font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(dialog.font().pixelSize(), 11);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Ошибка"));
    // No caption-bar box at all.
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(dialog.pos(), QPoint(286, 192));
    EXPECT_EQ(dialog.size(), QSize(330, 119));
}

TEST_F(MesTest, EnterSpaceOrAClickDismissesItTheSameWayEveryTime) {
    auto* ok = Child<QPushButton>("Button1");
    struct Way {
        const char* name;
        std::function<void()> dismiss;
    };
    const Way ways[] = {
        {"click", [&] { QTest::mouseClick(ok, Qt::LeftButton); }},
        // Keys go where the keyboard focus is.
        {"Enter", [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }},
        {"keypad Enter",
         [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier); }},
        {"Space", [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        bool shown = false;
        QTimer::singleShot(0, [&] {
            shown = dialog.isVisible();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            EXPECT_EQ(QApplication::focusWidget(), ok);
            EXPECT_EQ(Child<QLabel>("Label1")->text(),
                      QStringLiteral("Неверно введена комбинация !"));
            way.dismiss();
            // Never leave the loop waiting, whatever happened.
            if (dialog.isVisible()) {
                ADD_FAILURE() << "still shown";
                dialog.close();
            }
        });
        ShowModal(dialog);
        EXPECT_TRUE(shown);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST_F(MesTest, LabelsFollowTheWidthTheButtonKeepsItsPlaceAndAMovedDialogStaysMoved) {
    QTimer::singleShot(0, [&] {
        dialog.resize(500, 200);
        for (const char* name : {"Label1", "Label2", "Label3", "Label4"})
            EXPECT_EQ(Child<QLabel>(name)->width(), 500) << name;
        EXPECT_EQ(Child<QPushButton>("Button1")->geometry(), QRect(128, 88, 75, 25));
        dialog.move(10, 20);
        dialog.close();
    });
    ShowModal(dialog);
    EXPECT_EQ(dialog.pos(), QPoint(10, 20));
}

} // namespace
