#pragma once

// `linecode handout -o FILE.pdf [--resources DIR]`: the laboratory work's
// printed guide as an A4 PDF, its figures drawn as vectors, its fonts
// embedded, its pages numbered.

#include "tools/linecode/handout_content.h"

#include <QString>

#include <ostream>
#include <span>
#include <string_view>

bool IsHandoutCommand(std::string_view name);
// Runs the command; args start with its name. Creates the (offscreen) GUI
// application the PDF writer needs.
int RunHandoutCommand(int argc, char** argv, std::span<const std::string_view> args,
                      std::ostream& out, std::ostream& err);

// Lays the guide out on A4 pages and writes it; gives the number of pages.
// Throws HandoutError when the file cannot be written.
int WriteHandoutPdf(const HandoutContent& content, const QString& file);
