#include "app/application.h"

#include "ui/handler_guard.h"

#include <QMessageBox>

#include <utility>

QString ErrorBoxText(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

QString ErrorText(const std::exception& error) {
    return QString::fromUtf8(error.what());
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    SetHandlerErrorReporter([this](std::exception_ptr error) { ShowError(error); });
}

TApplication::~TApplication() {
    SetHandlerErrorReporter({});
}

TApplication* TApplication::Instance() {
    return qobject_cast<TApplication*>(instance());
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowError(std::current_exception());
    }
    return false;
}

void TApplication::ShowError(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        ShowError(ErrorText(e));
    } catch (...) {
        ShowError(QStringLiteral("Unknown error"));
    }
}

void TApplication::ShowError(const QString& text) {
    // The application title is left at the toolkit's default, the name of
    // the executable.
    Present({applicationName(), ErrorBoxText(text)});
}

void TApplication::Present(const MessageBoxContent& content) {
    if (m_presenter) {
        m_presenter(content);
        return;
    }
    QMessageBox box(QMessageBox::Critical, content.caption, content.text, QMessageBox::Ok);
    box.exec();
}

MessageBoxPresenter TApplication::SetPresenter(MessageBoxPresenter presenter) {
    return std::exchange(m_presenter, std::move(presenter));
}
