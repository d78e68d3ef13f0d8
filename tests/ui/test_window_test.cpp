#include "plot/fonts.h"
#include "tests/ui/gui_test_app.h"
#include "ui/form1.h"
#include "ui/test_window.h"
#include "ui/window_references.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The option each question's right answer is, and one wrong option.
const char* const kRight[] = {"RadioButton2", "RadioButton4",  "RadioButton5",
                              "RadioButton8", "RadioButton10", "RadioButton13"};
const char* const kWrong[] = {"RadioButton1", "RadioButton3",  "RadioButton7",
                              "RadioButton9", "RadioButton11", "RadioButton14"};

struct Choice {
    int question; // 0-based
    bool right;
};

class TestWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        GuiTestApp();
        RegisterFontSubstitutions();
    }

    void SetUp() override {
        form = std::make_unique<TForm1>();
        window = std::make_unique<TTest>();
        Form1 = form.get();
        ::Test = window.get();
        form->show();
    }
    void TearDown() override {
        Form1 = nullptr;
        ::Test = nullptr;
    }

    template <class T = QWidget>
    T* Child(const char* name) const {
        T* child = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    // Scrolls to a control and clicks it as a student would.
    void Click(const char* name) const {
        QWidget* w = Child(name);
        Child<QScrollArea>("ScrollBox")->ensureWidgetVisible(w);
        const QPoint at =
            qobject_cast<QRadioButton*>(w) ? QPoint(6, w->height() / 2) : w->rect().center();
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
    }

    void Answer(const Choice& c) const {
        Click(c.right ? kRight[c.question] : kWrong[c.question]);
        Click(QStringLiteral("Button%1").arg(c.question + 1).toLatin1().constData());
    }

    // Opens the test from the main menu, gives the answers, then lets
    // `after` act (by default: wait for the window to close itself).
    void Attempt(const std::vector<Choice>& choices, std::function<void()> after = {}) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            opened = window->isVisible();
            for (const Choice& c : choices)
                Answer(c);
            if (after)
                after();
        });
        // Never leave a broken attempt waiting for ever.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            ADD_FAILURE() << "the test window did not close";
            window->close();
        });
        guard.start(5000);
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Button5")), Qt::LeftButton);
        EXPECT_TRUE(opened);
        EXPECT_FALSE(window->isVisible());
    }

    static std::vector<Choice> RightCount(int right) {
        std::vector<Choice> choices;
        for (int q = 0; q < TTest::kQuestions; ++q)
            choices.push_back({q, q < right});
        return choices;
    }

    bool Revealed() const { return form->Button1()->isVisible() && form->Button2()->isVisible(); }

    std::unique_ptr<TForm1> form;
    std::unique_ptr<TTest> window;
};

TEST_F(TestWindowTest, QuestionsOptionsAndSquaresAreLaidOutAsDesigned) {
    struct Panel {
        const char* name;
        int top, height;
    };
    for (const Panel& p :
         {Panel{"Panel1", 64, 153}, Panel{"Panel3", 227, 150}, Panel{"Panel5", 384, 153},
          Panel{"Panel7", 544, 153}, Panel{"Panel9", 704, 153}, Panel{"Panel11", 864, 177}})
        EXPECT_EQ(Child(p.name)->geometry(), QRect(24, p.top, 425, p.height)) << p.name;

    struct Option {
        const char* name;
        const char* panel;
        QPoint at;
        const char* text;
    };
    const Option options[] = {
        {"RadioButton1", "Panel1", {48, 80}, "Физическое представление сообщения"},
        {"RadioButton2", "Panel1", {48, 104}, "Форма представления сообщения"},
        {"RadioButton3", "Panel3", {24, 88}, "Увеличение скорости передачи информации"},
        {"RadioButton4", "Panel3", {24, 112}, "Повышение помехоустойчивости сигнала"},
        {"RadioButton6", "Panel5", {24, 80}, "Высокая помехоустойчивость сигнала"},
        {"RadioButton7", "Panel5", {24, 100}, "Простота технической реализации"},
        {"RadioButton5", "Panel5", {24, 120}, "И то и другое"},
        {"RadioButton8", "Panel7", {48, 96}, "однополярным"},
        {"RadioButton9", "Panel7", {48, 120}, "двухполярным"},
        {"RadioButton10", "Panel9", {48, 96}, "преимуществом"},
        {"RadioButton11", "Panel9", {48, 120}, "недостатком"},
        {"RadioButton12", "Panel11", {56, 104}, "группирование \"1\""},
        {"RadioButton13", "Panel11", {56, 128}, "наличие переходов \"0\"->\"1\" и \"1\"->\"0\""},
        {"RadioButton14", "Panel11", {56, 151}, "группирование \"0\""},
    };
    for (const Option& o : options) {
        SCOPED_TRACE(o.name);
        auto* radio = Child<QRadioButton>(o.name);
        EXPECT_EQ(radio->parentWidget(), Child(o.panel));
        EXPECT_EQ(radio->pos(), o.at);
        EXPECT_EQ(radio->height(), 17);
        EXPECT_EQ(radio->text(), QString::fromUtf8(o.text));
    }

    struct Question {
        const char* label;
        QPoint at;
        const char* text;
    };
    for (const Question& q : {
             Question{"Label1", {16, 25}, "Что такое код?"},
             Question{"Label4", {16, 32}, "Одна из целей использования линейных кодов"},
             Question{"Label5", {16, 24}, "Каковы основные критерии выбора типа  линейного кода"},
             Question{"Label7", {16, 48}, "при проектировании системы передачи?"},
             Question{"Label6", {24, 40}, "Сигнал в ВОЛС является:"},
             Question{"Label8", {16, 24}, "Узкий спектр линейного сигнала является :"},
             Question{"Label10", {8, 24}, "Для устойчивой синхронизации желательно:"},
         }) {
        EXPECT_EQ(Child(q.label)->pos(), q.at) << q.label;
        EXPECT_EQ(Child<QLabel>(q.label)->text(), QString::fromUtf8(q.text)) << q.label;
    }
    for (int k = 1; k <= 6; ++k) {
        const QByteArray square = "Answer" + QByteArray::number(k);
        const QByteArray button = "Button" + QByteArray::number(k);
        EXPECT_EQ(Child(square.constData())->geometry(), QRect(320, 8, 97, k == 6 ? 105 : 97));
        EXPECT_EQ(Child(button.constData())->geometry(),
                  QRect(320, k == 6 ? 128 : 112, k == 1 ? 97 : 99, 25));
        EXPECT_EQ(Child<QPushButton>(button.constData())->text(), QStringLiteral("Готово!"));
    }
    // The title grows around its designed rectangle to show its descenders.
    EXPECT_TRUE(Child("Label2")->geometry().contains(QRect(96, 8, 302, 28)));
    EXPECT_EQ(Child<QLabel>("Label3")->text(),
              QStringLiteral("Выберите правильный вариант и нажмите \"Готово\"."));
    EXPECT_EQ(Child("Label12")->geometry().bottom() + 1, TTest::kContentHeight);
}

TEST_F(TestWindowTest, WindowIsCentredSilverWithItsOwnIconAndScrollsItsTallContent) {
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->pos(), QPoint(desktop.x() + (desktop.width() - 503) / 2,
                                    desktop.y() + (desktop.height() - 567) / 2));
    EXPECT_EQ(window->size(), QSize(495, 540));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Тестирование"));
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(window->font().pixelSize(), 11);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(window->Timer().interval(), 1000);
    EXPECT_FALSE(window->Timer().isActive());

    QTimer::singleShot(0, [&] {
        auto* scroll = Child<QScrollArea>("ScrollBox");
        EXPECT_EQ(scroll->widget()->height(), TTest::kContentHeight);
        EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
        window->move(30, 40); // moved by the student
        window->close();
    });
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Button5")), Qt::LeftButton);
    QTimer::singleShot(0, [&] { window->close(); });
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Button5")), Qt::LeftButton);
    EXPECT_EQ(window->pos(), QPoint(30, 40)); // shown where it was left
}

TEST_F(TestWindowTest, FourOrMoreRightAnswersRevealTheWorkbenchButtons) {
    struct Case {
        const char* name;
        std::vector<Choice> choices;
        bool pass;
    };
    const Case cases[] = {
        {"none right", RightCount(0), false},
        {"three right", RightCount(3), false},
        {"four right", RightCount(4), true},
        {"six right", RightCount(6), true},
        {"four right, last question first",
         {{5, true}, {4, false}, {3, true}, {2, true}, {1, false}, {0, true}},
         true},
        {"three right in a shuffled order",
         {{3, true}, {0, false}, {5, true}, {1, false}, {4, true}, {2, false}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp(); // a fresh main menu with hidden workbench buttons
        QElapsedTimer clock;
        clock.start();
        Attempt(c.choices);
        // The window closes itself one second after the sixth answer.
        EXPECT_GE(clock.elapsed(), 900);
        EXPECT_EQ(Revealed(), c.pass);
        EXPECT_FALSE(form->findChild<QWidget*>(QStringLiteral("Panel3"))->isVisible());
    }
}

TEST_F(TestWindowTest, EveryShowingStartsAFreshAttempt) {
    // A failed attempt with three, then four right: the counts start again.
    Attempt(RightCount(3));
    EXPECT_FALSE(Revealed());
    Attempt(RightCount(4));
    EXPECT_TRUE(Revealed());

    SetUp();
    Attempt(RightCount(3));
    Attempt(RightCount(1));
    EXPECT_FALSE(Revealed());

    // Closing after five answers reveals nothing, and the next showing has
    // all six questions open with nothing selected.
    SetUp();
    Attempt({{0, true}, {1, true}, {2, true}, {3, true}, {4, true}}, [&] {
        EXPECT_EQ(window->AnsweredCount(), 5);
        window->close();
    });
    QTest::qWait(1200);
    EXPECT_FALSE(Revealed());
    Attempt({}, [&] {
        EXPECT_EQ(window->AnsweredCount(), 0);
        EXPECT_EQ(window->CorrectCount(), 0);
        for (const char* panel : {"Panel1", "Panel3", "Panel5", "Panel7", "Panel9", "Panel11"})
            EXPECT_TRUE(Child(panel)->isEnabled()) << panel;
        for (QRadioButton* option : window->findChildren<QRadioButton*>())
            EXPECT_FALSE(option->isChecked()) << option->objectName().toStdString();
        for (int k = 1; k <= 6; ++k) {
            auto* square = Child<QLabel>(("Answer" + QByteArray::number(k)).constData());
            EXPECT_TRUE(square->text().isEmpty());
            EXPECT_EQ(square->palette().color(QPalette::Window), QColor(128, 128, 128));
        }
        window->close();
    });
}

TEST_F(TestWindowTest, AnsweredQuestionIsLockedAndAnEmptyAnswerIsIgnored) {
    Attempt({}, [&] {
        Click("Button3"); // nothing chosen
        EXPECT_EQ(window->AnsweredCount(), 0);
        EXPECT_TRUE(Child<QLabel>("Answer3")->text().isEmpty());
        EXPECT_TRUE(Child("Panel5")->isEnabled());

        Answer({0, false});
        auto* square = Child<QLabel>("Answer1");
        EXPECT_EQ(square->text(), QStringLiteral("Неверно!"));
        EXPECT_EQ(square->palette().color(QPalette::Window), QColor(255, 0, 0));
        EXPECT_FALSE(Child("Panel1")->isEnabled());
        // Locked, but as readable as before.
        for (const char* name : {"Label1", "RadioButton1", "Button1"}) {
            const QPalette& p = Child(name)->palette();
            EXPECT_EQ(p.color(QPalette::Disabled, QPalette::WindowText),
                      p.color(QPalette::Active, QPalette::WindowText))
                << name;
            EXPECT_EQ(p.color(QPalette::Disabled, QPalette::ButtonText),
                      p.color(QPalette::Active, QPalette::ButtonText))
                << name;
        }
        // The right option and the button no longer react.
        Answer({0, true});
        EXPECT_FALSE(Child<QRadioButton>("RadioButton2")->isChecked());
        EXPECT_EQ(square->text(), QStringLiteral("Неверно!"));
        EXPECT_EQ(window->AnsweredCount(), 1);
        EXPECT_EQ(window->CorrectCount(), 0);

        Answer({1, true});
        auto* right = Child<QLabel>("Answer2");
        EXPECT_EQ(right->text(), QStringLiteral("Правильно"));
        // Locked panels are disabled; the verdict keeps its colours there.
        const QImage shot = right->grab().toImage();
        EXPECT_EQ(shot.pixelColor(5, 5), QColor(0, 128, 0));
        EXPECT_EQ(right->palette().color(QPalette::Disabled, QPalette::WindowText),
                  QColor(255, 255, 0));
        EXPECT_EQ(window->CorrectCount(), 1);
        window->close();
    });
}

TEST_F(TestWindowTest, ClosingInTheLastSecondStillRevealsTheButtons) {
    Attempt(RightCount(4), [&] {
        EXPECT_TRUE(window->Timer().isActive());
        window->close(); // the caption close box
    });
    EXPECT_FALSE(Revealed());
    QTest::qWait(1300);
    EXPECT_TRUE(Revealed());
    // The timer goes on ticking without effect until the next showing.
    EXPECT_TRUE(window->Timer().isActive());
    QTest::qWait(1100);
    EXPECT_FALSE(window->isVisible());
    Attempt({}, [&] {
        EXPECT_FALSE(window->Timer().isActive());
        window->close();
    });
    EXPECT_TRUE(Revealed()); // a later attempt hides nothing
}

} // namespace
