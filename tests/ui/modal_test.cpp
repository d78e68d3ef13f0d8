#include "tests/ui/gui_test_app.h"
#include "ui/modal.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A window with a button that counts its clicks and a field that keeps text.
struct Window {
    QWidget widget;
    QPushButton* button = new QPushButton(QStringLiteral("Button"), &widget);
    QLineEdit* field = new QLineEdit(&widget);
    int clicks = 0;
    std::function<void()> onClick;

    Window() {
        widget.resize(200, 100);
        button->setGeometry(10, 10, 80, 25);
        field->setGeometry(10, 50, 120, 25);
        QObject::connect(button, &QPushButton::clicked, [this] {
            ++clicks;
            if (onClick)
                onClick();
        });
    }
};

// Runs `step` inside the modal loop that the next modal showing starts.
void WhenModal(std::function<void()> step) {
    QTimer::singleShot(0, std::move(step));
}

class ModalTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { GuiTestApp(); }
};

TEST_F(ModalTest, OpenerTakesNoClicksOrKeysWhileAWindowIsShownModally) {
    Window opener, dialog;
    opener.widget.show();
    opener.onClick = [&] {
        WhenModal([&] {
            EXPECT_TRUE(dialog.widget.isVisible());
            EXPECT_EQ(TopModalWindow(), &dialog.widget);
            EXPECT_FALSE(AcceptsInput(*opener.button));
            EXPECT_TRUE(AcceptsInput(*dialog.button));
            QTest::mouseClick(opener.button, Qt::LeftButton);
            QTest::keyClicks(opener.field, QStringLiteral("abc"));
            EXPECT_EQ(opener.clicks, 1); // only the click that opened the dialog
            EXPECT_TRUE(opener.field->text().isEmpty());
            QTest::keyClicks(dialog.field, QStringLiteral("xyz"));
            QTest::mouseClick(dialog.button, Qt::LeftButton); // closes it
        });
        ShowModal(dialog.widget);
    };
    dialog.onClick = [&] { dialog.widget.close(); };
    QTest::mouseClick(opener.button, Qt::LeftButton);

    EXPECT_EQ(dialog.clicks, 1);
    EXPECT_FALSE(dialog.widget.isVisible());
    EXPECT_EQ(TopModalWindow(), nullptr);
    EXPECT_TRUE(AcceptsInput(*opener.button));
    // The opener is usable again, and the dialog kept what was typed.
    dialog.onClick = nullptr;
    opener.onClick = nullptr;
    QTest::mouseClick(opener.button, Qt::LeftButton);
    EXPECT_EQ(opener.clicks, 2);
    EXPECT_EQ(dialog.field->text(), QStringLiteral("xyz"));
}

TEST_F(ModalTest, NestedShowingsReleaseTheInputOneLevelAtATime) {
    Window root, middle, top;
    root.widget.show();
    bool checkedTop = false, checkedMiddle = false;
    root.onClick = [&] {
        WhenModal([&] { QTest::mouseClick(middle.button, Qt::LeftButton); });
        ShowModal(middle.widget);
    };
    middle.onClick = [&] {
        WhenModal([&] {
            QTest::mouseClick(root.button, Qt::LeftButton);
            QTest::mouseClick(middle.button, Qt::LeftButton);
            EXPECT_FALSE(AcceptsInput(root.widget));
            EXPECT_FALSE(AcceptsInput(middle.widget));
            checkedTop = true;
            top.widget.close(); // the caption close box does the same
        });
        ShowModal(top.widget);
        // Back in the middle window: it takes input, the root still does not.
        EXPECT_TRUE(AcceptsInput(middle.widget));
        EXPECT_FALSE(AcceptsInput(root.widget));
        QTest::mouseClick(root.button, Qt::LeftButton);
        checkedMiddle = true;
        middle.widget.close();
    };
    QTest::mouseClick(root.button, Qt::LeftButton);

    EXPECT_TRUE(checkedTop);
    EXPECT_TRUE(checkedMiddle);
    EXPECT_EQ(root.clicks, 1);
    EXPECT_EQ(middle.clicks, 1);
    EXPECT_TRUE(AcceptsInput(root.widget));
    EXPECT_FALSE(middle.widget.isVisible());
    EXPECT_FALSE(top.widget.isVisible());
}

TEST_F(ModalTest, HiddenWindowKeepsItsStateAndIsTheSameWindowEveryTime) {
    Window dialog;
    QWidget* const shown = &dialog.widget;
    for (int i = 0; i < 5; ++i) {
        WhenModal([&] {
            EXPECT_EQ(TopModalWindow(), shown);
            dialog.field->setText(dialog.field->text() + QLatin1Char('a'));
            dialog.widget.move(40 + i, 60);
            dialog.widget.close();
        });
        ShowModal(dialog.widget);
        EXPECT_FALSE(dialog.widget.isVisible());
    }
    EXPECT_EQ(dialog.field->text(), QStringLiteral("aaaaa"));
    EXPECT_EQ(dialog.widget.pos(), QPoint(44, 60));
}

TEST_F(ModalTest, WindowThatHidesItselfWhileShownEndsTheShowing) {
    // A window that closes itself at once must not leave the caller waiting.
    struct SelfClosing : QWidget {
        void showEvent(QShowEvent*) override {
            QTimer::singleShot(0, this, [this] { hide(); });
        }
    } window;
    ShowModal(window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(TopModalWindow(), nullptr);
}

} // namespace

TEST_F(ModalTest, OpenerIsActiveAgainWhenTheWindowCloses) {
    Window opener, dialog;
    opener.widget.show();
    opener.widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&opener.widget));
    opener.onClick = [&] {
        WhenModal([&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog.widget));
            dialog.widget.close();
        });
        ShowModal(dialog.widget);
        opener.field->setFocus();
    };
    QTest::mouseClick(opener.button, Qt::LeftButton);
    // Typing goes to the opener's field again, as after an error dialog.
    EXPECT_TRUE(QTest::qWaitForWindowActive(&opener.widget));
    EXPECT_EQ(QApplication::focusWidget(), opener.field);
}

// Minimising a window shown modally hides it for a while, but the student has
// not closed it: the showing goes on, and the opener stays locked, until the
// window is restored and closed.
TEST_F(ModalTest, MinimisingAWindowDoesNotEndItsShowing) {
    Window opener;
    Window dialog;
    opener.widget.show();
    bool minimisedStillModal = false;
    bool restoredStillModal = false;
    WhenModal([&] {
        dialog.widget.showMinimized();
        // The hide that minimising sends is delivered with the events that follow.
        QTimer::singleShot(50, &dialog.widget, [&] {
            minimisedStillModal = TopModalWindow() == &dialog.widget;
            dialog.widget.showNormal();
            QTimer::singleShot(50, &dialog.widget, [&] {
                restoredStillModal = TopModalWindow() == &dialog.widget;
                dialog.widget.close();
            });
        });
    });
    ShowModal(dialog.widget);
    EXPECT_TRUE(minimisedStillModal);
    EXPECT_TRUE(restoredStillModal);
    EXPECT_EQ(TopModalWindow(), nullptr);
    EXPECT_FALSE(dialog.widget.isVisible());
}
