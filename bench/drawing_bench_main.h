#pragma once

// The frame of every benchmark binary that draws: it needs no display, and
// its text is laid out with the program's own font substitutions, so that
// what it measures is what the program paints.

#include "plot/fonts.h"

#include <QByteArray>
#include <QtGlobal>

#include <benchmark/benchmark.h>

// Runs the registered benchmarks inside an application of type App (the
// offscreen platform unless the caller chose one). `registerMore` adds
// benchmarks that need the application to exist; `beforeExit` releases what
// must go before it does.
template <class App, class Register = void (*)(), class Release = void (*)()>
int RunDrawingBenchmarks(
    int argc, char** argv, Register registerMore = [] {}, Release beforeExit = [] {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    RegisterFontSubstitutions();
    registerMore();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    beforeExit();
    return 0;
}
