#pragma once

#include "fonts.h"

#include <QApplication>

// One application object for all window tests of this binary, built on first
// use (offscreen, as ctest runs them), with the program's font substitutions.
inline QApplication& GuiTestApp() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        RegisterFontSubstitutions();
        return a;
    }();
    return *app;
}
