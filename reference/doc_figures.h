#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// Figures of the reference documents that are computed rather than drawn:
// the worked examples of the line codes, drawn from the program's own
// encoders, and the spectra, drawn from its own formulas, so a page can never
// disagree with what the workbench shows. Each is an SVG picture.

class FigureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The picture a document names, by its file name without ".svg":
//   wave-<code>-<bits>[-w<width>]   the line signal of the combination
//   spectrum-<code>[-w<width>]      the code's energy spectrum
//   compare-dts, compare-fots       a workbench's comparison of four spectra
// <code> is a code's key (pit, abs, chpi, kvp3, nrz, bil, cmi, ep1).
// Throws FigureError for a name that is none of these.
std::string FigureSvg(std::string_view name);

// The line symbols of a combination as a page writes them: "+1 −1 0" for
// one symbol per bit, "10 01" for two half-bits per bit.
std::string SymbolText(std::string_view code, std::string_view bits);

// Replaces every "{{symbols:<code>:<bits>}}" in `text` by SymbolText.
std::string ExpandSymbols(std::string_view text);
