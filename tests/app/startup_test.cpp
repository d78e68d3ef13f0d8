#include "app/application.h"
#include "app/startup.h"
#include "tests/app/program_folder_test.h"
#include "ui/csp.h"
#include "ui/form1.h"
#include "ui/modal.h"
#include "ui/test_window.h"
#include "ui/window_references.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class RecordedBoxes {
public:
    explicit RecordedBoxes(std::function<void(const MessageBoxContent&)> also = {})
        : m_also(std::move(also)) {
        m_previous = TApplication::Instance()->SetPresenter([this](const MessageBoxContent& box) {
            boxes.push_back(box);
            if (m_also)
                m_also(box);
        });
    }
    ~RecordedBoxes() { TApplication::Instance()->SetPresenter(m_previous); }
    std::vector<MessageBoxContent> boxes;

private:
    std::function<void(const MessageBoxContent&)> m_also;
    MessageBoxPresenter m_previous;
};

QList<QWidget*> VisibleWindows() {
    QList<QWidget*> visible;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            visible << w;
    return visible;
}

template <class T = QWidget>
T* Control(QWidget* window, const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Click(QWidget* window, const char* name) {
    QTest::mouseClick(Control(window, name), Qt::LeftButton);
}

// Runs the whole program with `script` acting on it once the message loop
// runs; the script ends the program as a student would, with "Выход из
// программы", unless it has closed the main window itself.
int RunWithScript(const std::function<void()>& script, const BeforeBuildHook& hook = {}) {
    QTimer::singleShot(0, [&] {
        script();
        if (Form1 != nullptr && Form1->isVisible())
            Click(Form1, "Button4");
    });
    return RunProgram(*TApplication::Instance(), hook);
}

using StartupTest = ProgramFolderTest;

TEST_F(StartupTest, WindowsAreBuiltInOrderAndExitEndsTheProgramWithCodeZero) {
    std::vector<std::string> built;
    bool checked = false;
    const int code = RunWithScript(
        [&] {
            checked = true;
            EXPECT_NE(Form1, nullptr);
            EXPECT_NE(CSP, nullptr);
            EXPECT_NE(Help, nullptr);
            EXPECT_NE(mes, nullptr);
            EXPECT_NE(VOSP, nullptr);
            EXPECT_NE(Dinamic, nullptr);
            EXPECT_NE(jon, nullptr);
            EXPECT_NE(::Test, nullptr);
            // Only the main menu is shown at start.
            EXPECT_EQ(VisibleWindows(), QList<QWidget*>{Form1});
            EXPECT_EQ(Form1->focusWidget(), Control(Form1, "Button3"));
        },
        [&](std::string_view name) { built.emplace_back(name); });
    EXPECT_TRUE(checked);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(built, (std::vector<std::string>{"Form1", "CSP", "Help", "mes", "VOSP", "Dinamic",
                                               "jon", "Test"}));
    // The windows are gone with the program, and so are their references.
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(::Test, nullptr);
    EXPECT_TRUE(VisibleWindows().isEmpty());
}

TEST_F(StartupTest, CaptionCloseBoxOfTheMainWindowEndsTheProgramLikeExit) {
    const int code = RunWithScript([] { Form1->close(); });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Form1, nullptr);
}

TEST_F(StartupTest, FailureWhileBuildingShowsTheApplicationErrorBoxAndExitsWithOne) {
    struct Case {
        const char* failingWindow;
        const char* error;
        const char* secondLine;
    };
    const Case cases[] = {
        {"Form1", "Cannot open file 001.wav", "Cannot open file 001.wav."},
        {"VOSP", "Cannot open file 001.wav", "Cannot open file 001.wav."},
        {"jon", "Damaged document.", "Damaged document."},
        {"Test", "x", "x."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failingWindow);
        QList<QWidget*> shownDuringTheBox{nullptr};
        RecordedBoxes recorded(
            [&](const MessageBoxContent&) { shownDuringTheBox = VisibleWindows(); });
        bool looped = false;
        QTimer::singleShot(0, [&] { looped = true; });
        const int code = RunProgram(*TApplication::Instance(), [&](std::string_view name) {
            if (name == c.failingWindow)
                throw std::runtime_error(c.error);
        });
        EXPECT_EQ(code, 1);
        ASSERT_EQ(recorded.boxes.size(), 1u);
        const MessageBoxContent& box = recorded.boxes[0];
        EXPECT_EQ(box.caption, QStringLiteral("Application Error"));
        const QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        const QRegularExpression pattern(
            QStringLiteral("^Exception std::runtime_error in module %1 at [0-9A-F]{16}\\.\\n%2$")
                .arg(QRegularExpression::escape(module),
                     QRegularExpression::escape(QString::fromUtf8(c.secondLine))));
        EXPECT_TRUE(pattern.match(box.text).hasMatch()) << box.text.toStdString();
        EXPECT_TRUE(shownDuringTheBox.isEmpty()); // no window was ever shown
        EXPECT_EQ(Form1, nullptr);
        EXPECT_EQ(CSP, nullptr);
        EXPECT_TRUE(VisibleWindows().isEmpty());
        QTest::qWait(0);
        EXPECT_TRUE(looped); // the pending timer ran only now: no loop was entered
    }
}

// Something thrown that is no standard exception: a library's own error
// type, or a plain value.
struct ForeignError {
    int code;
};

TEST_F(StartupTest, AnyOtherErrorWhileBuildingStillGivesTheBoxAndCodeOne) {
    struct Case {
        const char* failingWindow;
        std::function<void()> raise;
        const char* kind;
    };
    const Case cases[] = {
        {"Form1", [] { throw 42; }, "int"},
        {"CSP", [] { throw ForeignError{7}; }, "(anonymous namespace)::ForeignError"},
        {"Test", [] { throw "no stored document"; }, "char const*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failingWindow);
        QList<QWidget*> shownDuringTheBox{nullptr};
        RecordedBoxes recorded(
            [&](const MessageBoxContent&) { shownDuringTheBox = VisibleWindows(); });
        const int code = RunProgram(*TApplication::Instance(), [&](std::string_view name) {
            if (name == c.failingWindow)
                c.raise();
        });
        EXPECT_EQ(code, 1);
        ASSERT_EQ(recorded.boxes.size(), 1u);
        EXPECT_EQ(recorded.boxes[0].caption, QStringLiteral("Application Error"));
        const QStringList lines = recorded.boxes[0].text.split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2);
        EXPECT_TRUE(lines[0].startsWith(
            QStringLiteral("Exception %1 in module ").arg(QString::fromLatin1(c.kind))))
            << lines[0].toStdString();
        EXPECT_EQ(lines[1], QStringLiteral("Unknown error."));
        EXPECT_TRUE(shownDuringTheBox.isEmpty());
        EXPECT_EQ(Form1, nullptr);
        EXPECT_TRUE(VisibleWindows().isEmpty());
    }
}

TEST(StartupErrorText, TwoLinesWithKindModuleAddressAndText) {
    const int object = 0;
    const QString text =
        StartupErrorText(QStringLiteral("EInOutError"), QStringLiteral("LineCodes"), &object,
                         QStringLiteral("File not found"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    const QString address =
        QStringLiteral("%1").arg(reinterpret_cast<quintptr>(&object), 16, 16, QLatin1Char('0'));
    EXPECT_EQ(lines[0], "Exception EInOutError in module LineCodes at " + address.toUpper() + ".");
    EXPECT_EQ(lines[1], QStringLiteral("File not found."));
    EXPECT_EQ(StartupErrorText("K", "M", nullptr, "Done.").split('\n').at(1), "Done.");
    EXPECT_EQ(StartupErrorText("K", "M", nullptr, "").split('\n').at(1), ".");
    EXPECT_TRUE(StartupErrorText("K", "M", nullptr, "t")
                    .startsWith("Exception K in module M at "
                                "0000000000000000."));
}

TEST_F(StartupTest, InformationFileCasesThroughTheRunningProgram) {
    RecordedBoxes recorded;
    const int code = RunWithScript([&] {
        auto* memo = Control<QPlainTextEdit>(Form1, "Memo1");
        // Missing: the panel switches, the box tells, the memo keeps "Memo1".
        Click(Form1, "Button3");
        EXPECT_TRUE(Control(Form1, "Panel3")->isVisible());
        EXPECT_FALSE(Control(Form1, "Panel2")->isVisible());
        EXPECT_EQ(memo->toPlainText(), QStringLiteral("Memo1"));
        ASSERT_EQ(recorded.boxes.size(), 1u);
        EXPECT_EQ(recorded.boxes[0].text, QStringLiteral("Cannot open file Data001.txt."));

        // Code page 1251 with LF-only line ends.
        WriteData(
            "\xCB\xE8\xED\xE5\xE9\xED\xFB\xE5 \xEA\xEE\xE4\xFB\n\xC2\xE5\xF0\xF1\xE8\xFF 1.0\n");
        Click(Form1, "Button3");
        EXPECT_EQ(Form1->MemoText(), QStringLiteral("Линейные коды\r\nВерсия 1.0\r\n"));
        EXPECT_EQ(recorded.boxes.size(), 1u);

        // Hundreds of megabytes: refused at once, nothing read, memo kept.
        {
            QFile huge(folder.filePath(QStringLiteral("Data001.txt")));
            ASSERT_TRUE(huge.open(QIODevice::ReadWrite));
            ASSERT_TRUE(huge.resize(qint64{300} * 1024 * 1024)); // sparse
        }
        QElapsedTimer clock;
        clock.start();
        Click(Form1, "Button3");
        EXPECT_LT(clock.elapsed(), 1000);
        ASSERT_EQ(recorded.boxes.size(), 2u);
        EXPECT_EQ(recorded.boxes[1].text, QStringLiteral("Text exceeds memo capacity."));
        EXPECT_EQ(Form1->MemoText(), QStringLiteral("Линейные коды\r\nВерсия 1.0\r\n"));

        // Removed again: the memo keeps the last text that was loaded.
        QFile::remove(folder.filePath(QStringLiteral("Data001.txt")));
        Click(Form1, "Button3");
        ASSERT_EQ(recorded.boxes.size(), 3u);
        EXPECT_EQ(recorded.boxes[2].text, QStringLiteral("Cannot open file Data001.txt."));
        EXPECT_EQ(Form1->MemoText(), QStringLiteral("Линейные коды\r\nВерсия 1.0\r\n"));

        // The window stays usable after every error.
        Click(Form1, "Label3");
        EXPECT_TRUE(Form1->Button1()->isVisible());
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(recorded.boxes.size(), 3u);
    for (const MessageBoxContent& box : recorded.boxes)
        EXPECT_EQ(box.caption, QCoreApplication::applicationName());
}

TEST_F(StartupTest, NavigationIsModalAndWindowsKeepTheirStateBetweenShowings) {
    const int code = RunWithScript([&] {
        // Menu -> test: the menu takes no clicks while the test is shown.
        QTimer::singleShot(0, [&] {
            EXPECT_EQ(TopModalWindow(), ::Test);
            Click(Form1, "Label3");
            Click(Form1, "Button3");
            EXPECT_FALSE(Form1->Button1()->isVisible());
            EXPECT_TRUE(Control(Form1, "Panel2")->isVisible());
            ::Test->move(12, 34);
            ::Test->close();
        });
        Click(Form1, "Button5");
        EXPECT_FALSE(::Test->isVisible());
        EXPECT_EQ(::Test->pos(), QPoint(12, 34));

        // The credits line, then the DTS workbench, twice: same window,
        // same place.
        Click(Form1, "Label3");
        for (int showing = 0; showing < 2; ++showing) {
            QTimer::singleShot(0, [&, showing] {
                EXPECT_TRUE(CSP->isVisible());
                if (showing == 0)
                    CSP->move(50, 60);
                EXPECT_EQ(CSP->pos(), QPoint(50, 60));
                Click(Form1, "Button5"); // blocked
                EXPECT_FALSE(::Test->isVisible());
                Click(CSP, "Button5"); // "В меню"
                if (CSP->isVisible()) {
                    ADD_FAILURE() << "still shown";
                    CSP->close();
                }
            });
            Click(Form1, "Button1");
            EXPECT_FALSE(CSP->isVisible());
        }
        EXPECT_TRUE(AcceptsInput(*Form1));
    });
    EXPECT_EQ(code, 0);
}

} // namespace
