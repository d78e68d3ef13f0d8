#pragma once

// One application object for all chart tests: fonts need a GUI
// application, the widget tests a widget one.

#include "plot/fonts.h"

#include <QApplication>

inline void EnsureChartApplication() {
    static int argc = 1;
    static char name[] = "chart_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* a = new QApplication(argc, argv);
        RegisterFontSubstitutions();
        return a;
    }();
    (void)app;
}
