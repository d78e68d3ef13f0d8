#pragma once

#include "plot/fonts.h"

#include <QApplication>

// One application object for all window tests of this binary, built on first
// use (offscreen, as ctest runs them) and kept for the whole run, with the
// program's font substitutions.
inline QApplication& GuiTestApp() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    auto* app = new QApplication(argc, argv);
    RegisterFontSubstitutions();
    return *app;
}
