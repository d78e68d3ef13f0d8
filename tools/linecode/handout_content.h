#pragma once

// The text of the laboratory work's printed guide (методические указания):
// rich text in Qt's HTML subset with its figures, assembled at generation
// time from the reference pages and from what the program's encoders,
// formulas and measured spectra give, so it cannot disagree with the
// workbenches.

#include "codes/line_code.h"
#include "codes/measured_spectrum.h"
#include "tools/linecode/psd_chart.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <stdexcept>
#include <vector>

class HandoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bits of random data behind each measured spectrum of the guide: enough
// that a flat top's maximum is found to ±0.01.
inline constexpr std::size_t kHandoutBits = std::size_t{1} << 20;

// One figure of the guide. The text names it as <img src="handout:N">,
// N its index, with its size in the text's pixels (96 to the inch).
struct HandoutFigure {
    enum Kind {
        Svg,           // a picture of the reference pages
        ModelChart,    // the workbench's spectrum chart of `code`
        MeasuredChart, // the measured spectrum of `code`
    };
    Kind kind;
    QByteArray svg;
    LineCode code = LineCode::Nrz;
    QSize size;
};

struct HandoutContent {
    QString html;
    std::vector<HandoutFigure> figures;
    // The measured spectra, in the order of kAllLineCodes.
    std::vector<MeasuredSpectrum> spectra;
    // The numbered sections, as the text titles them.
    QStringList sections;
};

// The guide's chart size: two charts side by side fill the text's width.
// The model chart shows the workbench's curve, the measured one the rest.
inline constexpr QSize kHandoutChartSize{320, 215};
inline constexpr PsdPictureContent kModelOnly{true, false};
inline constexpr PsdPictureContent kMeasuredOnly{false, true};

// Reads the reference pages and their drawn pictures from `resources`
// (the program's resources folder: docs/*.html, docs/pic/). Throws
// HandoutError for a missing or damaged page.
HandoutContent BuildHandoutContent(const std::filesystem::path& resources,
                                   std::size_t bits = kHandoutBits);

// The section titles, in order, without their numbers.
QStringList HandoutSectionTitles();
