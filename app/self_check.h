#pragma once

#include "app/application.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <iosfwd>

// The switch that turns a start of the program into an installation check.
inline const QString kSelfCheckSwitch = QStringLiteral("--self-check");

// Whether the command line asks for the installation check.
bool SelfCheckRequested(const QStringList& arguments);

// The installation check, for an administrator and for the install test; no
// student ever sees it. While it exists, the program starts as usual and, as
// soon as the main window is shown, "Информация о программе" is pressed once;
// the first line of the information text goes to `out` and the main window
// is closed, so the program ends with exit code 0. Any error box the program
// would show (a start-up failure, "Data001.txt" not in the folder it started
// in) is written to `err` instead and the program ends with exit code 1, as
// it does when the main window is not shown within `timeoutMs`. Destroying
// the check puts the previous message box presenter back.
class SelfCheck : public QObject {
public:
    SelfCheck(TApplication& app, std::ostream& out, std::ostream& err, int timeoutMs = 30000);
    ~SelfCheck() override;
    SelfCheck(const SelfCheck&) = delete;
    SelfCheck& operator=(const SelfCheck&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PressInformation();
    void Fail(const QString& why);

    TApplication& m_app;
    std::ostream& m_out;
    std::ostream& m_err;
    MessageBoxPresenter m_previous;
    bool m_pressed = false;
    bool m_failed = false;
};
