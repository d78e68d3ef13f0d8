#include "codes/energy_density.h"
#include "codes/line_code.h"

#include <QDir>
#include <QFile>
#include <QPointF>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

// The figures of the stored documents are drawn at build time from the
// encoders and the spectrum formulas. These tests read the pictures back and
// check that each shows exactly what the workbench computes.

namespace {

struct Polyline {
    QString id;
    QString cls;
    QString stroke;
    std::vector<QPointF> points;
};

struct Svg {
    std::vector<Polyline> polylines;
    std::map<double, int> levelByY; // from the dotted level lines
};

Svg ReadSvg(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    Svg svg;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("polyline")) {
            Polyline line{a.value("id").toString(),
                          a.value("class").toString(),
                          a.value("stroke").toString(),
                          {}};
            const QStringList pairs =
                a.value("points").toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (const QString& pair : pairs) {
                const QStringList xy = pair.split(QLatin1Char(','));
                line.points.emplace_back(xy.value(0).toDouble(), xy.value(1).toDouble());
            }
            svg.polylines.push_back(line);
        } else if (xml.name() == QLatin1String("line") &&
                   a.value("class") == QLatin1String("level")) {
            svg.levelByY[a.value("y1").toDouble()] = a.value("data-level").toInt();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return svg;
}

QStringList Figures(const QString& pattern) {
    const QRegularExpression re(pattern);
    QStringList names;
    for (const QString& name : QDir(QStringLiteral(":/docs/fig")).entryList(QDir::Files))
        if (re.match(name).hasMatch())
            names << name;
    return names;
}

LineCode CodeOf(const QString& key) {
    const std::optional<LineCode> code = LineCodeFromName(key.toStdString());
    EXPECT_TRUE(code.has_value()) << key.toStdString();
    return code.value_or(LineCode::Nrz);
}

} // namespace

TEST(ReferenceFigures, EveryWaveformShowsTheEncodersSymbols) {
    const QStringList names = Figures(QStringLiteral("^wave-[a-z0-9]+-[01]+(-w\\d+)?\\.svg$"));
    // Every code of both workbenches has its worked example.
    ASSERT_GE(names.size(), 8);
    std::set<LineCode> drawn;
    for (const QString& name : names) {
        const QStringList parts = name.chopped(4).split(QLatin1Char('-'));
        const LineCode code = CodeOf(parts[1]);
        drawn.insert(code);
        const std::optional<Bits> bits = CombinationBits(parts[2].toStdString());
        ASSERT_TRUE(bits.has_value()) << name.toStdString();
        const std::vector<int> expected = Encode(code, *bits);

        const Svg svg = ReadSvg(QStringLiteral(":/docs/fig/") + name);
        const auto signal = std::find_if(svg.polylines.begin(), svg.polylines.end(),
                                         [](const Polyline& p) { return p.id == "signal"; });
        ASSERT_NE(signal, svg.polylines.end()) << name.toStdString();
        ASSERT_EQ(signal->points.size(), 2 * expected.size()) << name.toStdString();

        // Each symbol is one level held over one slot; the slots are equal and
        // follow each other without gaps.
        const double slot = signal->points[1].x() - signal->points[0].x();
        EXPECT_GT(slot, 10) << name.toStdString();
        std::vector<int> shown;
        for (std::size_t k = 0; k < expected.size(); ++k) {
            const QPointF from = signal->points[2 * k], to = signal->points[2 * k + 1];
            EXPECT_EQ(from.y(), to.y()) << name.toStdString() << " symbol " << k;
            EXPECT_NEAR(to.x() - from.x(), slot, 0.02) << name.toStdString() << " symbol " << k;
            if (k > 0) {
                EXPECT_NEAR(from.x(), signal->points[2 * k - 1].x(), 0.011);
            }
            const auto level = svg.levelByY.find(from.y());
            ASSERT_NE(level, svg.levelByY.end()) << name.toStdString() << " symbol " << k;
            shown.push_back(level->second);
        }
        EXPECT_EQ(shown, expected) << name.toStdString();
    }
    EXPECT_EQ(drawn.size(), std::size(kAllLineCodes));
}

TEST(ReferenceFigures, SpectraFollowTheProgramsCurves) {
    const QStringList names = Figures(QStringLiteral("^spectrum-[a-z0-9]+(-w\\d+)?\\.svg$"));
    ASSERT_GE(names.size(), 8);
    for (const QString& name : names) {
        const LineCode code = CodeOf(name.chopped(4).split(QLatin1Char('-'))[1]);
        const Svg svg = ReadSvg(QStringLiteral(":/docs/fig/") + name);
        ASSERT_EQ(svg.polylines.size(), 1u) << name.toStdString();
        const std::vector<QPointF>& points = svg.polylines[0].points;
        ASSERT_EQ(points.size(), static_cast<std::size_t>(kSpectrumSamples));

        // The picture's highest and lowest samples are the formula's, and x
        // only grows: a plot of y against x and not of something else.
        int top = 1, bottom = 1;
        for (int i = 1; i <= kSpectrumSamples; ++i) {
            if (SpectrumValue(code, i).y > SpectrumValue(code, top).y)
                top = i;
            if (SpectrumValue(code, i).y < SpectrumValue(code, bottom).y)
                bottom = i;
        }
        const auto higher = [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); };
        EXPECT_EQ(std::min_element(points.begin(), points.end(), higher) - points.begin() + 1, top)
            << name.toStdString();
        const double lowest = std::max_element(points.begin(), points.end(), higher)->y();
        EXPECT_NEAR(points[static_cast<std::size_t>(bottom - 1)].y(), lowest, 0.011)
            << name.toStdString();
        for (std::size_t k = 1; k < points.size(); ++k)
            EXPECT_GT(points[k].x(), points[k - 1].x()) << name.toStdString() << " " << k;
        EXPECT_EQ(svg.polylines[0].stroke, QStringLiteral("#ff0000"));
    }
}

TEST(ReferenceFigures, ComparisonsDrawFourCurvesInTheWorkbenchColours) {
    const struct {
        const char* file;
        Workbench workbench;
    } cases[] = {{"compare-dts.svg", Workbench::Dts}, {"compare-fots.svg", Workbench::Fots}};
    for (const auto& c : cases) {
        const Svg svg = ReadSvg(QStringLiteral(":/docs/fig/") + QLatin1String(c.file));
        ASSERT_EQ(svg.polylines.size(), static_cast<std::size_t>(kComparisonCurves)) << c.file;
        for (int curve = 0; curve < kComparisonCurves; ++curve) {
            const Colour colour = ComparisonValue(c.workbench, curve, 1).colour;
            const QString hex = QStringLiteral("#%1%2%3")
                                    .arg(RedOf(colour), 2, 16, QLatin1Char('0'))
                                    .arg(GreenOf(colour), 2, 16, QLatin1Char('0'))
                                    .arg(BlueOf(colour), 2, 16, QLatin1Char('0'));
            EXPECT_EQ(svg.polylines[static_cast<std::size_t>(curve)].stroke, hex)
                << c.file << " " << curve;
            EXPECT_EQ(svg.polylines[static_cast<std::size_t>(curve)].points.size(),
                      static_cast<std::size_t>(kSpectrumSamples));
        }
    }
}
