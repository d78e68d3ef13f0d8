#include "app/self_check.h"

#include "ui/form1.h"
#include "ui/window_references.h"

#include <QEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <ostream>
#include <utility>

bool SelfCheckRequested(const QStringList& arguments) {
    return arguments.mid(1).contains(kSelfCheckSwitch);
}

SelfCheck::SelfCheck(TApplication& app, std::ostream& out, std::ostream& err, int timeoutMs)
    : m_app(app), m_out(out), m_err(err) {
    // A real message box would wait for a click that never comes.
    m_previous = m_app.SetPresenter([this](const MessageBoxContent& box) {
        Fail(box.caption + QStringLiteral(": ") + box.text);
    });
    m_app.installEventFilter(this);
    QTimer::singleShot(timeoutMs, this,
                       [this] { Fail(QStringLiteral("the main window was not shown")); });
}

SelfCheck::~SelfCheck() {
    m_app.removeEventFilter(this);
    m_app.SetPresenter(std::move(m_previous));
}

bool SelfCheck::eventFilter(QObject* watched, QEvent* event) {
    // The press waits for the message loop, as a student's click would.
    if (!m_pressed && event->type() == QEvent::Show && Form1 != nullptr && watched == Form1) {
        m_pressed = true;
        QTimer::singleShot(0, this, &SelfCheck::PressInformation);
    }
    return false;
}

void SelfCheck::PressInformation() {
    auto* button =
        Form1 != nullptr ? Form1->findChild<QPushButton*>(QStringLiteral("Button3")) : nullptr;
    if (button == nullptr || !button->isVisible()) {
        Fail(QStringLiteral("the main window shows no \"Информация о программе\""));
        return;
    }
    // A file that cannot be read fails the handler; the application object
    // reports that through the presenter above, and the check ends there.
    button->click();
    if (m_failed)
        return;
    m_out << Form1->MemoText().section(QStringLiteral("\r\n"), 0, 0).toStdString() << std::endl;
    Form1->close();
}

void SelfCheck::Fail(const QString& why) {
    m_failed = true;
    m_err << "LineCodes " << kSelfCheckSwitch.toStdString() << ": " << why.toStdString()
          << std::endl;
    // Before the loop runs (a start-up failure) the program ends with 1 of
    // its own; an exit() then would make the next loop of the process end
    // at once.
    if (QThread::currentThread()->loopLevel() > 0)
        m_app.exit(1);
}
