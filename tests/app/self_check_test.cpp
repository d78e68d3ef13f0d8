#include "app/self_check.h"

#include "app/application.h"
#include "app/startup.h"
#include "tests/app/program_folder_test.h"
#include "ui/window_references.h"

#include <QEventLoop>

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(SelfCheckSwitch, OnlyTheSwitchItselfAfterTheProgramNameTurnsTheCheckOn) {
    EXPECT_TRUE(SelfCheckRequested({"LineCodes", "--self-check"}));
    EXPECT_TRUE(SelfCheckRequested({"LineCodes", "-platform", "offscreen", "--self-check"}));
    EXPECT_FALSE(SelfCheckRequested({"LineCodes"}));
    EXPECT_FALSE(SelfCheckRequested({"--self-check"})); // a program of that name
    EXPECT_FALSE(SelfCheckRequested({"LineCodes", "--self-check=1"}));
    EXPECT_FALSE(SelfCheckRequested({"LineCodes", "self-check"}));
}

// The check runs the whole program in a folder of its own, as the installed
// program runs in its data folder.
class SelfCheckRun : public ProgramFolderTest {
protected:
    int Run(const BeforeBuildHook& hook = {}, int timeoutMs = 30000) {
        SelfCheck check(*TApplication::Instance(), out, err, timeoutMs);
        return RunProgram(*TApplication::Instance(), hook);
    }

    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(SelfCheckRun, PrintsTheFirstLineOfTheInformationTextAndEndsWithZero) {
    // "Линейные коды", CR LF, "Версия 1.0" in code page 1251.
    WriteData("\xCB\xE8\xED\xE5\xE9\xED\xFB\xE5 \xEA\xEE\xE4\xFB\r\n\xC2\xE5\xF0\xF1\xE8\xFF "
              "1.0\r\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(out.str(), "Линейные коды\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(Form1, nullptr); // the program has really ended
}

TEST_F(SelfCheckRun, ErrorBoxesGoToStandardErrorAndEndTheProgramWithOne) {
    // Started in a folder without "Data001.txt": the box the student would
    // see, and nothing on standard output.
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("Cannot open file Data001.txt."), std::string::npos) << err.str();
    EXPECT_EQ(Form1, nullptr);

    // A window that cannot be built: the start-up error, no window shown.
    err.str("");
    EXPECT_EQ(Run([](std::string_view name) {
                  if (name == "VOSP")
                      throw std::runtime_error("Cannot open file 001.wav");
              }),
              1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("Application Error: Exception std::runtime_error"), std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("Cannot open file 001.wav."), std::string::npos) << err.str();
}

TEST_F(SelfCheckRun, AMainWindowThatIsNeverShownEndsTheLoopWithOne) {
    SelfCheck check(*TApplication::Instance(), out, err, 10);
    QEventLoop loop; // a program stuck before its main window
    EXPECT_EQ(loop.exec(), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("the main window was not shown"), std::string::npos) << err.str();
}

TEST(SelfCheck, ThePreviousMessageBoxPresenterIsBackOnceTheCheckIsGone) {
    TApplication& app = *TApplication::Instance();
    std::vector<QString> shown;
    const MessageBoxPresenter outer =
        app.SetPresenter([&](const MessageBoxContent& box) { shown.push_back(box.text); });
    std::ostringstream out;
    std::ostringstream err;
    {
        SelfCheck check(app, out, err);
        app.ShowError(QStringLiteral("during"));
    }
    app.ShowError(QStringLiteral("after"));
    app.SetPresenter(outer);
    EXPECT_EQ(shown, std::vector<QString>{QStringLiteral("after.")});
    EXPECT_NE(err.str().find("during."), std::string::npos) << err.str();
}

} // namespace
