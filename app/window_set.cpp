#include "app/window_set.h"

#include "ui/csp.h"
#include "ui/dinamic.h"
#include "ui/form1.h"
#include "ui/help.h"
#include "ui/jon.h"
#include "ui/mes.h"
#include "ui/test_window.h"
#include "ui/vosp.h"
#include "ui/window_references.h"

#include <vector>

struct WindowSet::Windows {
    // In the order of building; destroyed from the back.
    std::vector<std::unique_ptr<QWidget>> built;
};

namespace {

template <class Window>
void Build(std::vector<std::unique_ptr<QWidget>>& built, const BeforeBuildHook& hook,
           std::string_view name, Window*& reference) {
    if (hook)
        hook(name);
    auto window = std::make_unique<Window>();
    reference = window.get();
    built.push_back(std::move(window));
}

} // namespace

WindowSet::WindowSet(const BeforeBuildHook& beforeBuild) : m_windows(std::make_unique<Windows>()) {
    auto& built = m_windows->built;
    try {
        Build(built, beforeBuild, kOrder[0], Form1);
        Build(built, beforeBuild, kOrder[1], CSP);
        Build(built, beforeBuild, kOrder[2], Help);
        Build(built, beforeBuild, kOrder[3], mes);
        Build(built, beforeBuild, kOrder[4], VOSP);
        Build(built, beforeBuild, kOrder[5], Dinamic);
        Build(built, beforeBuild, kOrder[6], jon);
        Build(built, beforeBuild, kOrder[7], Test);
    } catch (...) {
        Clear();
        throw;
    }
    // Only the main window ends the program when it closes; the others are
    // hidden and shown again.
    for (auto& window : built)
        window->setAttribute(Qt::WA_QuitOnClose, window.get() == static_cast<QWidget*>(Form1));
}

WindowSet::~WindowSet() {
    Clear();
}

void WindowSet::Clear() {
    auto& built = m_windows->built;
    while (!built.empty())
        built.pop_back();
    Test = nullptr;
    jon = nullptr;
    Dinamic = nullptr;
    VOSP = nullptr;
    mes = nullptr;
    Help = nullptr;
    CSP = nullptr;
    Form1 = nullptr;
}
