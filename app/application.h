#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

// What a message box of the program shows.
struct MessageBoxContent {
    QString caption;
    QString text;
    // Every box of the program is an error box with a single OK button.
};

// Shows a message box and returns when it has been dismissed. Tests put a
// recorder in place of the real box.
using MessageBoxPresenter = std::function<void(const MessageBoxContent&)>;

// The error box's text: `text` with a full stop appended when its last
// character sorts above "." (a letter or a digit, for example).
QString ErrorBoxText(const QString& text);

// The text of an error: what() of a standard exception, decoded as UTF-8.
QString ErrorText(const std::exception& error);

// The application object. An error that escapes a handler of the windows is
// shown in the error box, and the program goes on: the handlers, connected
// through Guarded (ui/handler_guard.h), hand their errors here; anything else
// that escapes a click, a key or a timer tick is caught at the delivery of
// the event, as a last resort.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the error box for an error with `text`.
    void ShowError(const QString& text);
    // The same for a caught error: its text, or "Unknown error" when it is
    // no standard exception.
    void ShowError(const std::exception_ptr& error);

    // Shows `content` through the presenter: the real message box unless a
    // test has put another presenter in place.
    void Present(const MessageBoxContent& content);

    // Returns the previous presenter; an empty function restores the real box.
    MessageBoxPresenter SetPresenter(MessageBoxPresenter presenter);

    static TApplication* Instance();

private:
    MessageBoxPresenter m_presenter;
};
