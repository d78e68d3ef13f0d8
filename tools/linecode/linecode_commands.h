#pragma once

#include <charconv>
#include <optional>
#include <ostream>
#include <span>
#include <string_view>

// The `linecode` command-line tool: prints what the program would draw, for
// teachers who prepare answer keys and for checking against other references.
//
// Exit status: 0 on success, 1 for an invalid combination (nothing on
// standard output, one line on standard error), 2 for a usage error.
int RunLinecode(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

// One subcommand: its name, a line for the usage text and its runner, which
// gets the arguments after the name.
struct LinecodeCommand {
    std::string_view name;
    std::string_view usage;
    int (*run)(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitInvalidCombination = 1;
inline constexpr int kExitUsage = 2;

// Writes the invalid-combination line to standard error and gives its exit status.
int InvalidCombinationError(std::ostream& err);

// Writes the usage text, the chart-picture commands included.
void PrintUsage(std::ostream& stream);
// Writes the usage to standard error and gives the usage exit status.
int UsageError(std::ostream& err, std::string_view problem);

// A whole number option's value; nothing else in the text.
template <typename Integer>
std::optional<Integer> WholeNumber(std::string_view text) {
    Integer value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}
