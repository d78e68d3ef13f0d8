#include "linecode_commands.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const int status = RunLinecode(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
