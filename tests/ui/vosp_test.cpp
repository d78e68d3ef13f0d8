#include "codes/line_code.h"
#include "plot/chart.h"
#include "tests/ui/gui_test_app.h"
#include "ui/check_mark.h"
#include "ui/dinamic.h"
#include "ui/help.h"
#include "ui/media_player.h"
#include "ui/mes.h"
#include "ui/modal.h"
#include "ui/vosp.h"
#include "ui/window_references.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr const char* kMarks[] = {"StT1", "StT2", "StT3", "StT4", "StT5", "StT6"};
constexpr const char* kContentPanels[] = {"Panel15", "Panel1", "Panel4",
                                          "Panel5",  "Panel6", "Panel9"};

// One code panel of the window and what its buttons work on.
struct CodeRow {
    LineCode code;
    const char* codeButton;
    const char* mark;
    const char* panel;
    const char* forming;
    const char* view;
    const char* spectrumButton;
    const char* signalView;
    const char* spectrumView;
    const char* signalChart;
    const char* spectrumChart;
};

constexpr CodeRow kRows[] = {
    {LineCode::Nrz, "Button1", "StT1", "Panel1", "Button6", "Button16", "Button7", "Panel2",
     "Panel3", "Chart1", "Chart4"},
    {LineCode::BiL, "Button2", "StT2", "Panel4", "Button13", "Button17", "Button10", "Panel8",
     "Panel11", "Chart8", "Chart13"},
    {LineCode::Cmi, "Button3", "StT3", "Panel5", "Button15", "Button18", "Button12", "Panel12",
     "Panel10", "Chart14", "Chart12"},
    {LineCode::Ep1, "Button4", "StT4", "Panel6", "Button14", "Button19", "Button11", "Panel13",
     "Panel7", "Chart5", "Chart11"},
};

// The energy spectra written out from their closed formulas, independently
// of the program's own code.
double Nrz(double x) {
    const double a = std::numbers::pi * x;
    return std::pow(std::sin(a), 2) / (a * a) / 5;
}
double BiL(double x) {
    const double a = std::numbers::pi * x / 2;
    return std::pow(std::sin(a), 4) / (a * a) / 5;
}
double Cmi(double x) {
    const double a = std::numbers::pi * x;
    return std::pow(std::sin(a), 4) / (a * a / 4) / 10;
}
double Ep1(double x) {
    const double t = std::numbers::pi * x;
    const double g = std::pow(std::sin(t), 2) / (t * t) *
                     (3 * std::cos(t) + 2 * std::cos(2 * t) + std::cos(3 * t)) /
                     (3 + 12 * std::cos(2 * t) + 4 * std::cos(4 * t));
    return std::abs(g) / 20;
}

class VospWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        GuiTestApp();
        // The reference window is the costly one to build; one serves all tests.
        s_help = new THelp;
    }
    static void TearDownTestSuite() {
        delete s_help;
        s_help = nullptr;
    }

    void SetUp() override {
        m_mes = std::make_unique<Tmes>();
        m_dinamic = std::make_unique<TDinamic>();
        m_vosp = std::make_unique<TVOSP>();
        mes = m_mes.get();
        Dinamic = m_dinamic.get();
        Help = s_help;
        VOSP = m_vosp.get();
        m_vosp->show();
        m_vosp->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_vosp.get()));
    }
    void TearDown() override {
        VOSP = nullptr;
        Help = nullptr;
        Dinamic = nullptr;
        mes = nullptr;
    }

    template <class T = QWidget>
    T* Child(const char* name) const {
        T* w = m_vosp->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* Edit() const { return Child<QLineEdit>("Edit1"); }
    TChart* Chart(const char* name) const { return Child<TChart>(name); }
    int Points(const char* chart, int series) const {
        return Chart(chart)->SeriesAt(series)->Count();
    }
    // The control's own visibility, whether or not its panel is in front.
    bool Shown(const char* name) const {
        QWidget* w = Child(name);
        return w->isVisibleTo(w->parentWidget());
    }

    // Clicks the named button where it stands, after making sure it is what a
    // student would hit there: visible and not covered by another control.
    void Click(const char* button) const {
        auto* b = Child<QPushButton>(button);
        ASSERT_TRUE(b->isVisible()) << button;
        const QPoint centre = b->mapTo(m_vosp.get(), b->rect().center());
        ASSERT_EQ(m_vosp->childAt(centre), b) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Clicks whatever lies at `pos` of the named panel, which must be `expected`.
    void ClickAt(const char* panel, QPoint pos, const char* expected) const {
        QWidget* w = Child(panel)->childAt(pos);
        ASSERT_EQ(w, Child(expected));
        QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(Child(panel), pos));
    }
    void Type(const QString& text) const {
        Edit()->clear();
        for (QChar c : text)
            QTest::keyClick(Edit(), c.toLatin1());
        ASSERT_EQ(Edit()->text(), text);
    }
    // Clicks `button` while the error dialog is expected: a timer that fires
    // inside the dialog's modal loop notes what it sees and presses "ОК".
    bool ClickExpectingError(const char* button) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            // As a student would: the dialog is in front before "ОК" is pressed.
            shown = mes->isVisible() && TopModalWindow() == mes && QTest::qWaitForWindowActive(mes);
            QTest::mouseClick(mes->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        });
        Click(button);
        return shown;
    }
    // Which of the two views lies on top in the middle of a code panel.
    QWidget* ViewOnTop(const char* panel) const {
        QWidget* p = Child(panel);
        QWidget* w = p->childAt(8 + 220, 24 + 120);
        while (w && w->parentWidget() != p)
            w = w->parentWidget();
        return w;
    }
    std::vector<std::string> VisibleContentPanels() const {
        std::vector<std::string> visible;
        for (const char* p : kContentPanels) {
            if (Child(p)->isVisible())
                visible.emplace_back(p);
        }
        return visible;
    }
    // The points of a series, as (x, y, colour).
    std::vector<SignalPoint> SeriesPoints(const char* chart, int series) const {
        const TChartSeries* s = Chart(chart)->SeriesAt(series);
        std::vector<SignalPoint> points;
        for (int i = 0; i < s->Count(); ++i)
            points.push_back({series, s->XValue(i), s->YValue(i), s->ValueColor(i)});
        return points;
    }

    static inline THelp* s_help = nullptr;
    std::unique_ptr<Tmes> m_mes;
    std::unique_ptr<TDinamic> m_dinamic;
    std::unique_ptr<TVOSP> m_vosp;
};

} // namespace

TEST_F(VospWindow, OpensOnTheInstructionPanelWithNoMarksAndAnEmptyField) {
    EXPECT_EQ(VisibleContentPanels(), std::vector<std::string>{"Panel15"});
    for (const char* m : kMarks)
        EXPECT_FALSE(Shown(m)) << m;
    EXPECT_EQ(Edit()->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), Edit());
    // Every code panel opens on its signal view.
    for (const CodeRow& row : kRows)
        EXPECT_EQ(ViewOnTop(row.panel), Child(row.signalView)) << row.panel;
}

TEST_F(VospWindow, EachPlayerStandsOnItsPanelWithItsCommentary) {
    const struct {
        const char* panel;
        const char* file;
    } players[] = {{"Panel15", "001.wav"},
                   {"Panel1", "NRZ.wav"},
                   {"Panel4", "BIL.wav"},
                   {"Panel5", "CMI.wav"},
                   {"Panel6", "EP-1.wav"}};
    for (const auto& p : players) {
        const QList<TMediaPlayer*> found =
            Child(p.panel)->findChildren<TMediaPlayer*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(found.size(), 1) << p.panel;
        EXPECT_EQ(found[0]->FileName(), QString::fromLatin1(p.file)) << p.panel;
        EXPECT_TRUE(found[0]->isVisibleTo(Child(p.panel))) << p.panel;
    }
    EXPECT_EQ(m_vosp->findChildren<TMediaPlayer*>().size(), 5);
}

TEST_F(VospWindow, RefusedCombinationsBringTheSignalViewAndChangeNothingElse) {
    const QString refused[] = {"11111", "11111111111", "", "10a100"};
    // On the instruction panel, Button20 refuses them for the hidden NRZ panel.
    Click("Button21");
    Type("10a100");
    EXPECT_TRUE(ClickExpectingError("Button20"));
    EXPECT_EQ(Edit()->text(), "");
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_vosp.get()));
    EXPECT_EQ(QApplication::focusWidget(), Edit());
    EXPECT_TRUE(Shown("Panel2"));
    EXPECT_FALSE(Shown("Panel3"));
    EXPECT_EQ(Points("Chart1", 0), 0);
    EXPECT_TRUE(Shown("Button6"));
    EXPECT_TRUE(Child("Panel15")->isVisible());

    for (const CodeRow& row : kRows) {
        Click(row.codeButton);
        const int series = row.code == LineCode::Nrz ? 2 : 3;
        for (const QString& text : refused) {
            SCOPED_TRACE(testing::Message() << row.forming << " '" << text.toStdString() << "'");
            Click(row.spectrumButton); // the spectrum in front before the forming
            ASSERT_EQ(ViewOnTop(row.panel), Child(row.spectrumView));
            Type(text);
            EXPECT_TRUE(ClickExpectingError(row.forming));
            EXPECT_EQ(Edit()->text(), "");
            EXPECT_FALSE(mes->isVisible());
            // Once the workbench is active again, typing goes to the field.
            EXPECT_TRUE(QTest::qWaitForWindowActive(m_vosp.get()));
            EXPECT_EQ(QApplication::focusWidget(), Edit());
            EXPECT_EQ(ViewOnTop(row.panel), Child(row.signalView));
            for (int s = 0; s < series; ++s)
                EXPECT_EQ(Points(row.signalChart, s), 0) << s;
            EXPECT_TRUE(Shown(row.forming));
            EXPECT_FALSE(Shown(row.view));
        }
    }
}

TEST_F(VospWindow, EachPanelIsFormedOnceWithThePointsOfItsCode) {
    const Bits bits{1, 0, 1, 1, 0, 0};
    for (const CodeRow& row : kRows) {
        SCOPED_TRACE(row.forming);
        const int series = row.code == LineCode::Nrz ? 2 : 3;
        Click(row.codeButton);
        Type("101100");
        // What the press must add: the same encoding with the noise that follows.
        NoiseSource noise = ProgramNoise();
        const SignalPoints expected = BuildSignalPoints(row.code, bits, noise);
        Click(row.forming);
        EXPECT_EQ(Edit()->text(), "101100"); // a good combination stays in the field
        for (int s = 0; s < series; ++s)
            EXPECT_EQ(SeriesPoints(row.signalChart, s), expected.Series(s)) << s;
        EXPECT_EQ(Chart(row.signalChart)->SeriesCount(), series);
        EXPECT_EQ(ProgramNoise().state(), noise.state());
        EXPECT_FALSE(Shown(row.forming));
        EXPECT_TRUE(Shown(row.view));

        // The spectrum in front, another combination, and "Формирование" again
        // at the same place: it only brings the signal view back.
        Click(row.spectrumButton);
        Type("1111111111");
        ClickAt(row.panel, {8 + 68, 288 + 12}, row.view);
        EXPECT_EQ(ViewOnTop(row.panel), Child(row.signalView));
        for (int s = 0; s < series; ++s)
            EXPECT_EQ(SeriesPoints(row.signalChart, s), expected.Series(s)) << s;
        EXPECT_FALSE(Shown(row.forming));
    }
}

TEST_F(VospWindow, Button20AppendsAFurtherNrzSetOnEachPressAndFormsTheNrzPanel) {
    const Bits bits{1, 0, 1, 1, 0, 0};
    Type("101100");
    std::vector<SignalPoint> expected[2];
    for (int press = 0; press < 2; ++press) {
        NoiseSource noise = ProgramNoise();
        const SignalPoints set = BuildSignalPoints(LineCode::Nrz, bits, noise);
        for (int s = 0; s < 2; ++s) {
            const std::vector<SignalPoint> more = set.Series(s);
            expected[s].insert(expected[s].end(), more.begin(), more.end());
        }
        Click("Button20");
        EXPECT_TRUE(Shown("Button20")); // never hidden
        EXPECT_TRUE(Child("Panel15")->isVisible());
        EXPECT_FALSE(Child("Panel1")->isVisible());
    }
    EXPECT_EQ(Points("Chart1", 0), 12);
    EXPECT_EQ(Points("Chart1", 1), 120);
    // Each point stands by ascending x, after the earlier ones with the same x.
    for (auto& series : expected)
        std::stable_sort(series.begin(), series.end(),
                         [](const SignalPoint& a, const SignalPoint& b) { return a.x < b.x; });
    EXPECT_EQ(SeriesPoints("Chart1", 0), expected[0]);
    EXPECT_EQ(SeriesPoints("Chart1", 1), expected[1]);
    for (const SignalPoint& p : expected[1]) {
        const double level = p.x <= 1 || (p.x > 2 && p.x <= 4) ? 1 : 0; // 1 0 1 1 0 0
        EXPECT_GE(p.y - level, 0);
        EXPECT_LT(p.y - level, 1.0 / 6);
    }
    // The NRZ panel counts as formed.
    Click("Button1");
    EXPECT_FALSE(Shown("Button6"));
    EXPECT_TRUE(Shown("Button16"));
    EXPECT_EQ(ViewOnTop("Panel1"), Child("Panel2"));
}

TEST_F(VospWindow, Button21DrawsTheNrzSpectrumIntoTheHiddenPanel) {
    Click("Button21");
    EXPECT_TRUE(Child("Panel15")->isVisible());
    EXPECT_FALSE(Child("Panel1")->isVisible());
    const TChartSeries* s = Chart("Chart4")->SeriesAt(0);
    ASSERT_EQ(s->Count(), 200);
    for (int i = 0; i < 200; ++i) {
        const double x = (i + 1) / 100.0;
        EXPECT_DOUBLE_EQ(s->XValue(i), x);
        EXPECT_NEAR(s->YValue(i), Nrz(x), 1e-15) << x;
        EXPECT_EQ(s->ValueColor(i), clRed);
    }
    Click("Button1");
    EXPECT_EQ(ViewOnTop("Panel1"), Child("Panel3"));
    EXPECT_TRUE(Shown("StT1"));
}

TEST_F(VospWindow, EverySpectrumButtonDrawsItsCodesCurveAgainOnEachPress) {
    double (*const formula[])(double) = {Nrz, BiL, Cmi, Ep1};
    for (std::size_t r = 0; r < std::size(kRows); ++r) {
        const CodeRow& row = kRows[r];
        SCOPED_TRACE(row.spectrumButton);
        Click(row.codeButton);
        Click(row.spectrumButton);
        Click(row.spectrumButton);
        EXPECT_EQ(ViewOnTop(row.panel), Child(row.spectrumView));
        const TChartSeries* s = Chart(row.spectrumChart)->SeriesAt(0);
        ASSERT_EQ(s->Count(), 400);
        // Each x holds the same value twice, the curve drawn over itself.
        for (int i = 0; i < 400; ++i) {
            const double x = (i / 2 + 1) / 100.0;
            EXPECT_DOUBLE_EQ(s->XValue(i), x);
            EXPECT_NEAR(s->YValue(i), formula[r](x), 1e-12) << x;
        }
        // The spectrum needs no combination: the empty field shows no dialog.
        EXPECT_FALSE(mes->isVisible());
    }
}

TEST_F(VospWindow, ComparisonDrawsTheFourFotsCurvesAndMarksItsButton) {
    Click("Button9");
    EXPECT_TRUE(Shown("StT5"));
    EXPECT_EQ(VisibleContentPanels(), std::vector<std::string>{"Panel9"});
    // NRZ, BI-L, EP-1 on twice the frequency scale, CMI; in the legend's colours.
    const struct {
        double (*curve)(double);
        double stretch;
        Colour colour;
    } curves[] = {{Nrz, 1, clRed}, {BiL, 1, clNavy}, {Ep1, 0.5, clBlue}, {Cmi, 1, clPurple}};
    for (int c = 0; c < 4; ++c) {
        const TChartSeries* s = Chart("Chart17")->SeriesAt(c);
        ASSERT_EQ(s->Count(), 200) << c;
        for (int i = 0; i < 200; ++i) {
            const double x = (i + 1) / 100.0;
            EXPECT_NEAR(s->YValue(i), curves[c].curve(x * curves[c].stretch), 1e-12) << c << x;
            EXPECT_EQ(s->ValueColor(i), curves[c].colour) << c;
        }
    }
    Click("Button9");
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(Points("Chart17", c), 400);
}

TEST_F(VospWindow, ACodePanelComesBackAfterTheComparisonWithTheViewItHad) {
    Click("Button2");
    Click("Button10");
    Click("Button9");
    EXPECT_FALSE(Child("Panel4")->isVisible());
    Click("Button2");
    EXPECT_TRUE(Child("Panel4")->isVisible());
    EXPECT_FALSE(Child("Panel9")->isVisible());
    EXPECT_EQ(ViewOnTop("Panel4"), Child("Panel11"));
    EXPECT_TRUE(Shown("StT2"));
    EXPECT_TRUE(Shown("StT5"));
    for (const char* m : {"StT1", "StT3", "StT4", "StT6"})
        EXPECT_FALSE(Shown(m)) << m;
    // Nothing brings the instruction panel back.
    EXPECT_FALSE(Child("Panel15")->isVisible());
}

TEST_F(VospWindow, MarksLieOverTheirButtonsAndLetTheClicksThrough) {
    const struct {
        const char* mark;
        const char* button;
    } pairs[] = {{"StT1", "Button1"}, {"StT2", "Button2"}, {"StT3", "Button3"},
                 {"StT4", "Button4"}, {"StT5", "Button9"}, {"StT6", "Button22"}};
    for (const auto& p : pairs) {
        if (QLatin1String(p.button) == QLatin1String("Button22"))
            QTimer::singleShot(0, [] { Dinamic->close(); });
        Click(p.button);
    }
    for (const auto& p : pairs) {
        SCOPED_TRACE(p.mark);
        QWidget* mark = Child(p.mark);
        QWidget* button = Child(p.button);
        ASSERT_TRUE(mark->isVisible());
        EXPECT_NE(qobject_cast<CheckMark*>(mark), nullptr);
        EXPECT_TRUE(button->geometry().contains(mark->geometry().center()));
        EXPECT_LT(mark->x() - button->x(), 12); // at the left end
        EXPECT_TRUE(mark->font().bold());
        EXPECT_EQ(mark->font().pixelSize(), 19);
        // The mark is painted over the button.
        EXPECT_GT(m_vosp->children().indexOf(mark), m_vosp->children().indexOf(button));
    }
    // A click on a shown mark goes through the window to the button below it.
    Click("Button1");
    ASSERT_TRUE(Child("Panel1")->isVisible());
    const QPoint onTheMark = Child("StT2")->geometry().center();
    EXPECT_EQ(m_vosp->childAt(onTheMark), Child("Button2"));
    QTest::mouseClick(m_vosp->windowHandle(), Qt::LeftButton, {}, onTheMark);
    EXPECT_TRUE(Child("Panel4")->isVisible());
    EXPECT_FALSE(Child("Panel1")->isVisible());
}

TEST_F(VospWindow, SchemeShowsItsMarkBeforeTheModelOpensAndKeepsIt) {
    bool markShown = false;
    bool modelShown = false;
    bool workbenchTakesInput = true;
    QTimer::singleShot(0, [&] {
        markShown = Child("StT6")->isVisible();
        modelShown = Dinamic->isVisible() && TopModalWindow() == Dinamic;
        workbenchTakesInput = AcceptsInput(*m_vosp);
        QTest::mouseClick(Dinamic->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    Click("Button22");
    EXPECT_TRUE(markShown);
    EXPECT_TRUE(modelShown);
    EXPECT_FALSE(workbenchTakesInput);
    EXPECT_FALSE(Dinamic->isVisible());
    EXPECT_TRUE(Shown("StT6"));
    EXPECT_TRUE(AcceptsInput(*m_vosp));
}

TEST_F(VospWindow, ReferenceOpensModallyAndReturns) {
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = Help->isVisible() && TopModalWindow() == Help;
        Help->close();
    });
    Click("Button8");
    EXPECT_TRUE(shown);
    EXPECT_FALSE(Help->isVisible());
    EXPECT_TRUE(m_vosp->isVisible());
    EXPECT_TRUE(AcceptsInput(*m_vosp));
}

TEST_F(VospWindow, MarksAndChartsSurviveTheCloseBoxAndReopening) {
    // As the menu shows it: modally, until the close box ends the showing.
    m_vosp->hide();
    const auto showFromTheMenu = [&](const std::function<void()>& inside) {
        QTimer::singleShot(0, [&] {
            inside();
            m_vosp->close(); // the caption close box
        });
        ShowModal(*m_vosp);
        EXPECT_FALSE(m_vosp->isVisible());
    };
    showFromTheMenu([&] {
        Click("Button4");
        Type("1000010000");
        Click("Button14");
        Click("Button11");
        Click("Button3");
        Click("Button9");
        Click("Button4");
    });
    showFromTheMenu([&] {
        for (const char* m : {"StT3", "StT4", "StT5"})
            EXPECT_TRUE(Child(m)->isVisible()) << m;
        for (const char* m : {"StT1", "StT2", "StT6"})
            EXPECT_FALSE(Child(m)->isVisible()) << m;
        EXPECT_TRUE(Child("Panel6")->isVisible());
        EXPECT_EQ(ViewOnTop("Panel6"), Child("Panel7"));
        EXPECT_EQ(Edit()->text(), "1000010000");
        EXPECT_EQ(Points("Chart5", 0), 20);
        EXPECT_EQ(Points("Chart5", 2), 10);
        EXPECT_EQ(Points("Chart11", 0), 200);
        EXPECT_EQ(Points("Chart17", 3), 200);
        EXPECT_FALSE(Shown("Button14"));
        EXPECT_TRUE(Shown("Button19"));
    });
    // "В меню" ends the showing in the same way.
    QTimer::singleShot(0, [&] { Click("Button5"); });
    ShowModal(*m_vosp);
    EXPECT_FALSE(m_vosp->isVisible());
}

TEST_F(VospWindow, ADragOnEveryChartReachesTheChart) {
    const struct {
        const char* chart;
        std::function<void()> bringToFront;
    } charts[] = {
        {"Chart1", [&] { Click("Button1"); }},  {"Chart4", [&] { Click("Button7"); }},
        {"Chart8", [&] { Click("Button2"); }},  {"Chart13", [&] { Click("Button10"); }},
        {"Chart14", [&] { Click("Button3"); }}, {"Chart12", [&] { Click("Button12"); }},
        {"Chart5", [&] { Click("Button4"); }},  {"Chart11", [&] { Click("Button11"); }},
        {"Chart17", [&] { Click("Button9"); }},
    };
    for (const auto& c : charts) {
        SCOPED_TRACE(c.chart);
        c.bringToFront();
        TChart* chart = Chart(c.chart);
        ASSERT_TRUE(chart->isVisible());
        // Through the window, which hands the mouse to whatever lies on top there.
        const QPoint from = chart->mapTo(m_vosp.get(), QPoint(chart->width() / 3, 40));
        const QPoint to = from + QPoint(80, 60);
        QWidget* target = m_vosp->childAt(from);
        EXPECT_EQ(target, chart) << (target ? target->objectName().toStdString() : "nothing");
        QWindow* window = m_vosp->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, from);
        QTest::mouseMove(window, (from + to) / 2);
        QTest::mouseMove(window, to);
        QTest::mouseRelease(window, Qt::LeftButton, {}, to);
        EXPECT_TRUE(chart->IsZoomed());
        chart->UndoZoom();
    }
}

TEST_F(VospWindow, TabWalksTheFieldTheLeftColumnTheContentAndThenTheScheme) {
    Edit()->setFocus();
    std::vector<std::string> order;
    for (int step = 0; step < 40; ++step) {
        QWidget* w = QApplication::focusWidget();
        ASSERT_NE(w, nullptr);
        // The players' own buttons take part too; only the window's controls count here.
        bool inPlayer = false;
        for (QWidget* p = w; p != nullptr; p = p->parentWidget())
            inPlayer = inPlayer || qobject_cast<TMediaPlayer*>(p) != nullptr;
        if (!inPlayer)
            order.push_back(w->objectName().toStdString());
        QTest::keyClick(w, Qt::Key_Tab);
        if (QApplication::focusWidget() == Edit())
            break;
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Edit1", "Button1", "Button2", "Button3", "Button4",
                                               "Button9", "Button8", "Button5", "Button20",
                                               "Button21", "Button22"}));
}
