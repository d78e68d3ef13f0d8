#include "tests/plot/chart_test_support.h"
#include "tools/linecode/handout.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

const std::filesystem::path kResources = LC_SOURCE_DIR "/resources";

// One guide for the tests that only read it; the default 65,536 bits keep
// it quick, and nothing below depends on the finer estimate.
const HandoutContent& Guide() {
    static const HandoutContent content = [] {
        EnsureChartApplication();
        return BuildHandoutContent(kResources, kDefaultPsdBits);
    }();
    return content;
}

// The text of section `number`, up to the next section's heading.
QString SectionText(const HandoutContent& c, int number) {
    const qsizetype from = c.html.indexOf(QStringLiteral(">%1. ").arg(number));
    const qsizetype to = c.html.indexOf(QStringLiteral(">%1. ").arg(number + 1), from);
    return c.html.mid(from, to < 0 ? -1 : to - from);
}

} // namespace

TEST(Handout, HasEverySectionAndEveryReferencePage) {
    const HandoutContent& c = Guide();
    EXPECT_EQ(c.sections, HandoutSectionTitles());
    ASSERT_EQ(c.sections.size(), 8);
    for (int k = 0; k < c.sections.size(); ++k)
        EXPECT_TRUE(c.html.contains(QStringLiteral("%1. %2").arg(k + 1).arg(c.sections[k])))
            << c.sections[k].toStdString();
    // The eleven reference pages and the error examples, numbered in turn,
    // each under its own heading.
    for (int k = 1; k <= 12; ++k)
        EXPECT_TRUE(c.html.contains(QStringLiteral("<p class=\"sub\">2.%1. ").arg(k))) << k;
    EXPECT_FALSE(c.html.contains(QStringLiteral("<p class=\"h1\">")));
    EXPECT_FALSE(c.html.contains(QStringLiteral("{{symbols:")));
    EXPECT_FALSE(c.html.contains(QStringLiteral("qrc:")));
    // Symbols the pages write are the encoders': ПИТ 110100 of the NRZ page.
    EXPECT_TRUE(c.html.contains(QStringLiteral("+1 −1 0 +1 −1 +1")));

    // 12 to 15 questions, none of them the admission test's.
    const QString questions = SectionText(c, 7);
    const qsizetype count = questions.count(QStringLiteral("<li>"));
    EXPECT_GE(count, 12);
    EXPECT_LE(count, 15);
    for (const char* admission :
         {"Что такое код?", "Сигнал в ВОЛС является", "Узкий спектр линейного сигнала"})
        EXPECT_FALSE(questions.contains(QString::fromUtf8(admission)));
    EXPECT_GE(SectionText(c, 8).count(QStringLiteral("<li>")), 5);
}

TEST(Handout, EveryFigureIsNamedOnceAndDrawable) {
    const HandoutContent& c = Guide();
    static const QRegularExpression kImage(QStringLiteral(R"re(<img src="([^"]*)")re"));
    std::multiset<int> named;
    for (const QRegularExpressionMatch& m : kImage.globalMatch(c.html)) {
        const QString src = m.captured(1);
        ASSERT_TRUE(src.startsWith(QStringLiteral("handout:"))) << src.toStdString();
        named.insert(src.mid(8).toInt());
    }
    ASSERT_EQ(named.size(), c.figures.size());
    int charts = 0;
    for (std::size_t k = 0; k < c.figures.size(); ++k) {
        EXPECT_EQ(named.count(static_cast<int>(k)), 1u) << k;
        const HandoutFigure& f = c.figures[k];
        EXPECT_FALSE(f.size.isEmpty()) << k;
        if (f.kind == HandoutFigure::Svg)
            EXPECT_TRUE(f.svg.startsWith("<svg") || f.svg.startsWith("<?xml")) << k;
        else
            ++charts;
    }
    EXPECT_EQ(charts, 16); // a model and a measured chart per code
    EXPECT_EQ(c.spectra.size(), 8u);
}

// The guide's verdict on each workbench curve is computed, and it must be
// the lecturer's: ПИТ, КВП-3, CMI and EP-1 are models, the other four exact.
TEST(Handout, TellsTheModelCurvesFromTheExactOnes) {
    const HandoutContent& c = Guide();
    const QString spectra = SectionText(c, 4);
    const struct {
        const char* name;
        bool model;
    } cases[] = {{"ПИТ", true},  {"АБС", false},  {"ЧПИ", false}, {"КВП-3", true},
                 {"NRZ", false}, {"BI-L", false}, {"CMI", true},  {"EP-1", true}};
    for (int k = 0; k < 8; ++k) {
        const QString name = QString::fromUtf8(cases[k].name);
        const qsizetype from = spectra.indexOf(QStringLiteral("4.%1. %2").arg(k + 1).arg(name));
        ASSERT_GE(from, 0) << cases[k].name;
        const qsizetype to = spectra.indexOf(QStringLiteral("4.%1. ").arg(k + 2), from);
        const QString part = spectra.mid(from, to < 0 ? -1 : to - from);
        EXPECT_EQ(part.contains(QStringLiteral("упрощённая модель")), cases[k].model)
            << cases[k].name;
        EXPECT_EQ(part.contains(QStringLiteral("совпадает с измеренным")), !cases[k].model)
            << cases[k].name;
    }
    // CMI's clock line, in the sentence and in the table of measurements.
    EXPECT_TRUE(spectra.contains(QStringLiteral("дискретную составляющую на <i>fT</i> = 1")));
    // 1/π² per side, to the scatter of a 65,536-bit run.
    EXPECT_TRUE(spectra.contains(
        QRegularExpression(QStringLiteral("<i>fT</i> = 1: 0,(09[5-9]|10[0-7]) на сторону"))));
}

TEST(Handout, ComparisonTableRowsComeFromTheEncoders) {
    const QString table = SectionText(Guide(), 3);
    // One row per code, in the workbenches' order.
    qsizetype at = 0;
    for (const char* name : {"ПИТ", "АБС", "ЧПИ", "КВП-3", "NRZ", "BI-L", "CMI", "EP-1"}) {
        at = table.indexOf(QStringLiteral("<tr><td><b>%1</b>").arg(QString::fromUtf8(name)), at);
        ASSERT_GE(at, 0) << name;
    }
    // NRZ alone keeps a DC component; ЧПИ and NRZ lose the clock on long runs.
    EXPECT_EQ(table.count(QStringLiteral("<td>есть</td>")), 1);
    EXPECT_EQ(table.count(QStringLiteral("<td>не ограничен</td>")), 2);
    EXPECT_EQ(table.count(QStringLiteral("37 %")), 3);
    EXPECT_EQ(table.count(QStringLiteral("50 % (1B2B)")), 4);
    EXPECT_TRUE(table.contains(QStringLiteral("1,5<i>T</i>"))); // CMI
}

TEST(Handout, CommandWritesAPdfAndRefusesBadArguments) {
    EnsureChartApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string file = dir.filePath(QStringLiteral("guide.pdf")).toStdString();
    char name[] = "linecode";
    char* argv[] = {name, nullptr};
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"handout"}, 2},
        {{"handout", "-o"}, 2},
        {{"handout", file}, 2},
        {{"handout", "-o", file, "--resources", dir.path().toStdString()}, 2}, // no pages there
        {{"handout", "-o", file, "--bits", "4096"}, 2},
    };
    for (const auto& c : cases) {
        std::vector<std::string_view> args(c.args.begin(), c.args.end());
        std::ostringstream out, err;
        EXPECT_EQ(RunHandoutCommand(1, argv, args, out, err), c.status) << c.args.size();
        EXPECT_FALSE(err.str().empty());
        EXPECT_EQ(out.str(), "");
        EXPECT_FALSE(QFile::exists(QString::fromStdString(file)));
    }
    EXPECT_TRUE(IsHandoutCommand("handout"));
    EXPECT_FALSE(IsHandoutCommand("plot"));

    // The writer itself: an A4 PDF with one page per laid-out page.
    const int pages = WriteHandoutPdf(Guide(), QString::fromStdString(file));
    EXPECT_GE(pages, 12);
    std::ifstream pdf(file, std::ios::binary);
    std::string head(5, '\0');
    pdf.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
}
