#include "tools/linecode/handout.h"
#include "tools/linecode/linecode_commands.h"
#include "tools/linecode/plot_commands.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (!args.empty() && IsPlotCommand(args.front()))
        return RunPlotCommand(argc, argv, args, std::cout, std::cerr);
    if (!args.empty() && IsHandoutCommand(args.front()))
        return RunHandoutCommand(argc, argv, args, std::cout, std::cerr);
    const int status = RunLinecode(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
