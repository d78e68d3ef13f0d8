#include "ui/modal.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

// Qt's application modality already stops input from the window system, but
// events delivered straight to a widget (synthesised input, accessibility
// tools) would still reach the windows below. This filter holds the stack of
// modal showings and drops user input aimed at any window but the top one.
class ModalInputGuard : public QObject {
public:
    static ModalInputGuard& Instance() {
        static ModalInputGuard* guard = [] {
            auto* g = new ModalInputGuard(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(g);
            return g;
        }();
        return *guard;
    }

    void Push(QWidget* window) { m_stack.emplace_back(window); }
    void Pop(QWidget* window) {
        auto it = std::find(m_stack.rbegin(), m_stack.rend(), window);
        if (it != m_stack.rend())
            m_stack.erase(std::next(it).base());
    }
    QWidget* Top() {
        while (!m_stack.empty() && m_stack.back().isNull())
            m_stack.pop_back();
        return m_stack.empty() ? nullptr : m_stack.back().data();
    }

    bool Accepts(const QWidget& widget) {
        QWidget* top = Top();
        if (top == nullptr)
            return true;
        const QWidget* window = widget.window();
        // Menus, tooltips and drop-down lists opened by the modal window are
        // windows of their own and belong to it.
        const Qt::WindowType type = window->windowType();
        if (type == Qt::Popup || type == Qt::ToolTip)
            return true;
        return window == top;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!IsUserInput(event->type()) || !watched->isWidgetType())
            return false;
        return !Accepts(*static_cast<QWidget*>(watched));
    }

private:
    explicit ModalInputGuard(QObject* parent) : QObject(parent) {}

    static bool IsUserInput(QEvent::Type type) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ToolTip:
            return true;
        default:
            return false;
        }
    }

    std::vector<QPointer<QWidget>> m_stack;
};

// Ends the nested loop when the window is hidden or destroyed. A window
// that is minimised is hidden too, but it has not been closed: its showing
// goes on until it is restored and closed.
class HideWatcher : public QObject {
public:
    HideWatcher(QWidget& window, QEventLoop& loop) : m_window(window), m_loop(loop) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Destroy ||
            (event->type() == QEvent::Hide && !m_window.isMinimized()))
            m_loop.quit();
        return false;
    }

private:
    QWidget& m_window;
    QEventLoop& m_loop;
};

} // namespace

void ShowModal(QWidget& window) {
    ModalInputGuard& guard = ModalInputGuard::Instance();
    if (window.isVisible())
        return; // already shown: a second modal loop on it would never end first
    QPointer<QWidget> target(&window);
    // The window below gets the keyboard back when this one closes, so that,
    // say, the field the workbench refocuses after an error takes typing.
    QPointer<QWidget> opener(QApplication::activeWindow());
    guard.Push(&window);
    window.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    HideWatcher watcher(window, loop);
    window.show();
    window.raise();
    window.activateWindow();
    // A window may close itself while it is being shown.
    if (target && target->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (target)
        target->removeEventFilter(&watcher);
    guard.Pop(target.data());
    if (opener && opener->isVisible())
        opener->activateWindow();
}

bool AcceptsInput(const QWidget& widget) {
    return ModalInputGuard::Instance().Accepts(widget);
}

QWidget* TopModalWindow() {
    return ModalInputGuard::Instance().Top();
}
