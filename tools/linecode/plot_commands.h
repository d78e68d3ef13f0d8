#pragma once

// `linecode plot`, `linecode plot-spectrum`: the charts of the workbenches
// drawn into PNG files without a window, for handouts.

#include "codes/energy_density.h"
#include "codes/line_code.h"
#include "workbench/designed_charts.h"

#include <QGuiApplication>

#include <memory>
#include <ostream>
#include <span>
#include <string_view>

// The painting needs a GUI application; without a display it runs
// offscreen. Nothing when the process has one already.
std::unique_ptr<QGuiApplication> MakeOffscreenApplication(int& argc, char** argv);

bool IsPlotCommand(std::string_view name);
// Runs a plot command; args start with the command's name. Creates the
// (offscreen) GUI application it needs from argc and argv.
int RunPlotCommand(int argc, char** argv, std::span<const std::string_view> args, std::ostream& out,
                   std::ostream& err);
