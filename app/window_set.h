#pragma once

#include <functional>
#include <memory>
#include <string_view>

class QWidget;

// Called before each window is built, with the window's reference name;
// lets a test make the building fail at a chosen window.
using BeforeBuildHook = std::function<void(std::string_view window)>;

// The eight windows of the program, built once, in their fixed order, each
// setting its application-wide reference as soon as it exists. Destroying
// the set destroys the windows in the reverse order and clears the
// references. If building fails, the windows built so far are destroyed
// again and the error goes on to the caller.
class WindowSet {
public:
    explicit WindowSet(const BeforeBuildHook& beforeBuild = {});
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    static constexpr std::string_view kOrder[] = {"Form1", "CSP",     "Help", "mes",
                                                  "VOSP",  "Dinamic", "jon",  "Test"};

private:
    void Clear();
    struct Windows;
    std::unique_ptr<Windows> m_windows;
};
