#pragma once

#include "app/window_set.h"

#include <QString>

class TApplication;

// The program from the building of its windows to the end of the message
// loop: builds the window set, shows the main window and runs the loop until
// the main window is closed. Returns the exit code: 0 after a normal end, 1
// when building the windows failed, after the "Application Error" box, with
// no window ever shown.
int RunProgram(TApplication& app, const BeforeBuildHook& beforeBuild = {});

// The two lines of the "Application Error" box for an error of `kind` with
// `text`, raised in `module` at `address`.
QString StartupErrorText(const QString& kind, const QString& module, const void* address,
                         const QString& text);
