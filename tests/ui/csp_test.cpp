#include "plot/chart.h"
#include "tests/ui/gui_test_app.h"
#include "ui/csp.h"
#include "ui/jon.h"
#include "ui/mes.h"
#include "ui/modal.h"
#include "ui/window_references.h"

#include <QFontInfo>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class CspWindow : public ::testing::Test {
protected:
    void SetUp() override {
        GuiTestApp();
        m_mes = std::make_unique<Tmes>();
        m_jon = std::make_unique<Tjon>();
        m_csp = std::make_unique<TCSP>();
        mes = m_mes.get();
        jon = m_jon.get();
        CSP = m_csp.get();
        m_csp->show();
        m_csp->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_csp.get()));
    }
    void TearDown() override {
        CSP = nullptr;
        jon = nullptr;
        mes = nullptr;
    }

    template <class T = QWidget>
    T* Child(const char* name) const {
        T* w = m_csp->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* Edit() const { return Child<QLineEdit>("Edit1"); }
    void Click(const char* button) const {
        QPushButton* b = Child<QPushButton>(button);
        ASSERT_TRUE(b->isVisibleTo(m_csp.get())) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Types as a keyboard would; characters without a key of their own (a
    // Cyrillic О) arrive as key events that carry only their text.
    void Type(const QString& text) const {
        Edit()->clear();
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(Edit(), c.toLatin1());
            } else {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(Edit(), &press);
                QApplication::sendEvent(Edit(), &release);
            }
        }
        ASSERT_EQ(Edit()->text(), text);
    }
    int Points(const char* chart, int series) const {
        return Child<TChart>(chart)->SeriesAt(series)->Count();
    }
    // Clicks `button` while the error dialog is expected: a timer that fires
    // inside the dialog's modal loop notes what it sees and presses "ОК".
    bool ClickExpectingError(const char* button) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            shown = mes->isVisible();
            QTest::mouseClick(mes->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        });
        Click(button);
        return shown;
    }
    // Which of the two views lies on top in the middle of a code panel.
    QWidget* ViewOnTop(const char* panel) const {
        QWidget* p = Child(panel);
        QWidget* w = p->childAt(8 + 220, 24 + 200);
        while (w && w->parentWidget() != p)
            w = w->parentWidget();
        return w;
    }

    std::unique_ptr<Tmes> m_mes;
    std::unique_ptr<Tjon> m_jon;
    std::unique_ptr<TCSP> m_csp;
};

} // namespace

TEST_F(CspWindow, OpensOnTheInstructionPanelWithTheFocusInTheField) {
    EXPECT_TRUE(Child("Panel15")->isVisible());
    for (const char* p : {"Panel1", "Panel4", "Panel5", "Panel6", "Panel9"})
        EXPECT_FALSE(Child(p)->isVisible()) << p;
    EXPECT_EQ(QApplication::focusWidget(), Edit());
    EXPECT_EQ(Edit()->text(), "");
    // Each code panel opens on its signal view, except ЧПИ, on its spectrum.
    const struct {
        const char* panel;
        const char* onTop;
    } views[] = {
        {"Panel1", "Panel2"}, {"Panel4", "Panel8"}, {"Panel5", "Panel10"}, {"Panel6", "Panel13"}};
    for (const auto& v : views)
        EXPECT_EQ(ViewOnTop(v.panel), Child(v.onTop)) << v.panel;
}

TEST_F(CspWindow, RefusedCombinationsChangeNothingButTheView) {
    const QString refused[] = {"11010",
                               "11010011001",
                               "",
                               "110 10",
                               "110120",
                               QString::fromUtf8("11О100"),
                               QString(1 << 20, u'1')};
    const struct {
        const char* code;
        const char* forming;
        const char* second;
        const char* chart;
        const char* signal;
        const char* spectrum;
        const char* spectrumButton;
    } rows[] = {
        {"Button1", "Button6", "Button16", "Chart1", "Panel2", "Panel3", "Button7"},
        {"Button2", "Button13", "Button17", "Chart8", "Panel8", "Panel11", "Button10"},
        {"Button3", "Button15", "Button18", "Chart14", "Panel12", "Panel10", "Button12"},
        {"Button4", "Button14", "Button19", "Chart5", "Panel13", "Panel7", "Button11"},
    };
    for (const auto& row : rows) {
        Click(row.code);
        for (const QString& text : refused) {
            SCOPED_TRACE(testing::Message()
                         << row.forming << " '" << text.left(12).toStdString() << "'");
            Click(row.spectrumButton); // the spectrum in front before the forming
            if (text.size() > 100)
                Edit()->setText(text); // pasted, not typed
            else
                Type(text);
            EXPECT_TRUE(ClickExpectingError(row.forming));
            EXPECT_EQ(Edit()->text(), "");
            // Once the workbench is active again, typing goes to the field.
            EXPECT_TRUE(QTest::qWaitForWindowActive(m_csp.get()));
            EXPECT_EQ(QApplication::focusWidget(), Edit());
            EXPECT_FALSE(mes->isVisible());
            for (int s = 0; s < 3; ++s)
                EXPECT_EQ(Points(row.chart, s), 0);
            EXPECT_TRUE(Child(row.forming)->isVisible());
            EXPECT_FALSE(Child(row.second)->isVisible());
            EXPECT_TRUE(Child(row.signal)->isVisible());
            EXPECT_FALSE(Child(row.spectrum)->isVisible());
        }
    }
}

TEST_F(CspWindow, EachPanelFormsOnceAndItsSecondButtonOnlyShowsTheSignal) {
    const struct {
        const char* code;
        const char* forming;
        const char* second;
        const char* spectrumButton;
        const char* chart;
        const char* signal;
        int bars, noisy, sources;
    } rows[] = {
        {"Button1", "Button6", "Button16", "Button7", "Chart1", "Panel2", 6, 60, 6},
        {"Button2", "Button13", "Button17", "Button10", "Chart8", "Panel8", 12, 120, 6},
        {"Button3", "Button15", "Button18", "Button12", "Chart14", "Panel12", 6, 60, 6},
        {"Button4", "Button14", "Button19", "Button11", "Chart5", "Panel13", 6, 60, 6},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.forming);
        Click(row.code);
        Type("110100");
        Click(row.forming);
        EXPECT_EQ(Edit()->text(), "110100"); // a good combination stays in the field
        EXPECT_EQ(Points(row.chart, 0), row.bars);
        EXPECT_EQ(Points(row.chart, 1), row.noisy);
        EXPECT_EQ(Points(row.chart, 2), row.sources);
        EXPECT_FALSE(Child(row.forming)->isVisible());
        EXPECT_TRUE(Child(row.second)->isVisible());
        // Spectrum in front, a new combination, then the second button.
        Click(row.spectrumButton);
        EXPECT_FALSE(Child(row.signal)->isVisible());
        Type("1111111111");
        Click(row.second);
        EXPECT_TRUE(Child(row.signal)->isVisible());
        EXPECT_EQ(Points(row.chart, 0), row.bars);
        EXPECT_EQ(Points(row.chart, 1), row.noisy);
        EXPECT_EQ(Points(row.chart, 2), row.sources);
    }
}

TEST_F(CspWindow, InstructionButtonsActOnTheHiddenPitPanel) {
    const struct {
        const char* combination;
        int bars;
    } presses[] = {{"110100", 6}, {"11010011", 14}, {"1101001100", 24}};
    for (const auto& p : presses) {
        Type(p.combination);
        Click("Button20");
        EXPECT_EQ(Points("Chart1", 0), p.bars);
        EXPECT_EQ(Points("Chart1", 1), 10 * p.bars);
        EXPECT_EQ(Points("Chart1", 2), p.bars);
        EXPECT_TRUE(Child("Panel15")->isVisible());
        EXPECT_FALSE(Child("Panel1")->isVisible());
    }
    EXPECT_FALSE(Child("Button6")->isVisibleTo(Child("Panel1")));
    EXPECT_TRUE(Child("Button16")->isVisibleTo(Child("Panel1")));
    // "Спектр" there switches the hidden panel's view; "ПИТ" then shows it.
    Click("Button21");
    EXPECT_EQ(Points("Chart4", 0), 200);
    Click("Button1");
    EXPECT_TRUE(Child("Panel3")->isVisible());
    EXPECT_FALSE(Child("Panel2")->isVisible());
    EXPECT_FALSE(Child("Panel15")->isVisible());
}

TEST_F(CspWindow, SpectraAndComparisonAccumulate) {
    Click("Button2");
    Click("Button10");
    Click("Button10");
    EXPECT_EQ(Points("Chart13", 0), 400);
    EXPECT_TRUE(Child("Panel11")->isVisible());
    // The spectrum needs no combination: the empty field shows no dialog.
    EXPECT_FALSE(mes->isVisible());
    for (int press = 0; press < 3; ++press)
        Click("Button9");
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(Points("Chart17", s), 600);
    EXPECT_TRUE(Child("Panel9")->isVisible());
    for (const char* p : {"Panel1", "Panel4", "Panel5", "Panel6", "Panel15"})
        EXPECT_FALSE(Child(p)->isVisible()) << p;
    Click("Button3");
    EXPECT_FALSE(Child("Panel9")->isVisible());
    EXPECT_TRUE(Child("Panel5")->isVisible());
    EXPECT_FALSE(Child("Panel15")->isVisible()); // gone for good
}

TEST_F(CspWindow, StateSurvivesLeavingAndReopening) {
    Click("Button4");
    Type("1000010000");
    Click("Button14");
    Click("Button11");
    Click("Button5");
    EXPECT_FALSE(m_csp->isVisible());
    m_csp->show();
    EXPECT_TRUE(Child("Panel6")->isVisible());
    EXPECT_TRUE(Child("Panel7")->isVisible());
    EXPECT_FALSE(Child("Panel13")->isVisible());
    EXPECT_EQ(Edit()->text(), "1000010000");
    EXPECT_EQ(Points("Chart5", 0), 10);
    EXPECT_EQ(Points("Chart11", 0), 200);
    EXPECT_FALSE(Child("Button14")->isVisible());
    EXPECT_TRUE(Child("Button19")->isVisible());
    // The caption close box acts like "В меню".
    m_csp->close();
    EXPECT_FALSE(m_csp->isVisible());
}

TEST_F(CspWindow, HintsAreLookedUpThroughTheParents) {
    auto hintAt = [](QWidget* w) {
        QToolTip::hideText();
        const QPoint centre = w->rect().center();
        QHelpEvent event(QEvent::ToolTip, centre, w->mapToGlobal(centre));
        QApplication::sendEvent(w, &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    Click("Button9");
    for (const char* name : {"Chart17", "Label40", "Label41", "Panel14"})
        EXPECT_EQ(hintAt(Child(name)), "формирование линейного кода") << name;
    Click("Button3");
    EXPECT_EQ(hintAt(Child("Button15")), "");
    EXPECT_EQ(hintAt(Child("Button12")), "Расчет энергетического спектра линейного сигнала");
    EXPECT_EQ(hintAt(Child("Button1")), "Парно- избирательный троичный код");
    // Enter triggers no button: none is a default button.
    Click("Button1");
    Type("110100");
    QTest::keyClick(Edit(), Qt::Key_Return);
    EXPECT_EQ(Points("Chart1", 0), 0);
}

TEST_F(CspWindow, ReferenceOpensModallyAndReturns) {
    bool shown = false;
    bool workbenchTakesInput = true;
    QTimer::singleShot(0, [&] {
        shown = jon->isVisible();
        workbenchTakesInput = AcceptsInput(*m_csp);
        jon->close();
    });
    Click("Button8");
    EXPECT_TRUE(shown);
    EXPECT_FALSE(workbenchTakesInput);
    EXPECT_FALSE(jon->isVisible());
    EXPECT_TRUE(AcceptsInput(*m_csp));
    EXPECT_TRUE(m_csp->isVisible());
}

TEST_F(CspWindow, ControlsStandWhereTheLayoutPutsThem) {
    const struct {
        const char* name;
        QRect geometry;
        const char* text;
        const char* hint;
    } controls[] = {
        {"Edit1", {0, 64, 137, 27}, "", ""},
        {"Button1", {8, 120, 121, 25}, "ПИТ", "Парно- избирательный троичный код"},
        {"Button2", {8, 152, 121, 25}, "АБС", "Абсолютный биимпульсный код"},
        {"Button3", {8, 184, 121, 25}, "ЧПИ", "Код с чередованием полярности импульсов"},
        {"Button4", {8, 216, 121, 25}, "КВП - 3", "Код с высокой плотностью единиц"},
        {"Button9", {8, 248, 121, 25}, "Сравнить", "Сравнение спектров различных кодов"},
        {"Button8", {8, 320, 121, 25}, "Справка", "Информация о линейных кодах"},
        {"Button5", {8, 352, 121, 25}, "В меню", "Вернуться в меню"},
        {"Button20", {8, 288, 137, 25}, "Формирование", "формирование линейного кода"},
        {"Button21",
         {160, 288, 137, 25},
         "Спектр",
         "Расчет энергетического спектра линейного сигнала"},
        {"Button6", {8, 288, 137, 25}, "Формирование", "формирование линейного кода"},
        {"Button16", {8, 288, 137, 25}, "Формирование", ""},
        {"Button15", {8, 288, 137, 25}, "Формирование", ""},
        {"Button11",
         {160, 288, 139, 25},
         "Спектр",
         "Расчет энергетического спектра линейного сигнала"},
        {"Label4", {1, 1, 455, 20}, "Парно-избирательный троичный код", ""},
        {"Label14", {1, 1, 455, 20}, "Код чередавания полярности импульсов (ЧПИ)", ""},
        {"Label29", {137, 28, 263, 20}, "которую тебуется закодировать.", ""},
        {"Label31", {128, 112, 223, 20}, "3. Нажмите \"Формироване\"", ""},
        {"Label40", {1, 1, 455, 20}, "Сравнение спектров линейных кодов", ""},
        {"Label44", {336, 288, 57, 20}, "КВП-3", ""},
    };
    for (const auto& c : controls) {
        QWidget* w = Child(c.name);
        ASSERT_NE(w, nullptr);
        if (qobject_cast<QLabel*>(w)) {
            // A label may grow around its designed rectangle to show all of
            // its text in the installed font.
            EXPECT_TRUE(w->geometry().contains(c.geometry)) << c.name;
        } else {
            EXPECT_EQ(w->geometry(), c.geometry) << c.name;
        }
        EXPECT_EQ(w->property("text").toString(), QString::fromUtf8(c.text)) << c.name;
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(c.hint)) << c.name;
    }
    const struct {
        const char* name;
        QRect geometry;
    } panels[] = {{"Panel15", {144, 64, 457, 321}}, {"Panel1", {144, 64, 457, 321}},
                  {"Panel9", {144, 64, 457, 321}},  {"Panel2", {8, 24, 441, 257}},
                  {"Chart1", {0, 0, 441, 169}},     {"Chart4", {0, 0, 448, 256}},
                  {"Chart11", {0, 0, 441, 257}},    {"Chart17", {-8, 0, 449, 257}},
                  {"Image3", {-24, 40, 65, 193}}};
    for (const auto& p : panels)
        EXPECT_EQ(Child(p.name)->geometry(), p.geometry) << p.name;
    EXPECT_EQ(m_csp->windowTitle(), "Линейные коды ЦСП");
    EXPECT_EQ(Child("Panel9")->toolTip(), "формирование линейного кода");
    // Titles in blue, "Справка" and "В меню" in black, the top line in navy.
    EXPECT_EQ(Child("Label13")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(Child("Label1")->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(Child("Label1")->font().pixelSize(), 21);
    EXPECT_FALSE(Child("Label3")->font().bold());
    EXPECT_TRUE(Child("Button5")->font().bold());
}

namespace {

// A left-button drag as the mouse makes it, through the window, so that it
// reaches whatever control lies on top there.
void DragThroughWindow(QWidget& window, QPoint from, QPoint to) {
    QWindow* handle = window.windowHandle();
    QTest::mousePress(handle, Qt::LeftButton, {}, from);
    QTest::mouseMove(handle, (from + to) / 2);
    QTest::mouseMove(handle, to);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, to);
}

} // namespace

TEST_F(CspWindow, ALeftDragZoomsEveryChartOfTheWindow) {
    Type("110100");
    // Each chart brought to the front with something drawn on it.
    const struct {
        const char* select;
        const char* press;
        const char* chart;
    } charts[] = {
        {"Button1", "Button6", "Chart1"},   {"Button1", "Button7", "Chart4"},
        {"Button2", "Button13", "Chart8"},  {"Button2", "Button10", "Chart13"},
        {"Button3", "Button15", "Chart14"}, {"Button3", "Button12", "Chart12"},
        {"Button4", "Button14", "Chart5"},  {"Button4", "Button11", "Chart11"},
        {"Button9", nullptr, "Chart17"},
    };
    for (const auto& c : charts) {
        SCOPED_TRACE(c.chart);
        Click(c.select);
        if (c.press != nullptr)
            Click(c.press);
        auto* chart = Child<TChart>(c.chart);
        ASSERT_TRUE(chart->isVisible());
        ASSERT_TRUE(chart->BottomAxis.Automatic);
        const QPoint from =
            chart->mapTo(m_csp.get(), chart->CurrentScene().plot.topLeft()) + QPoint(20, 20);
        DragThroughWindow(*m_csp, from, from + QPoint(40, 30));
        EXPECT_FALSE(chart->BottomAxis.Automatic);
        EXPECT_FALSE(chart->LeftAxis.Automatic);
    }
}

TEST_F(CspWindow, SignalViewsPaintTheirOwnBackgroundOverTheSpectrumOnTheFirstVisit) {
    // ПИТ, АБС and КВП - 3 open on the signal view, which lies over the
    // spectrum view; the legend under the chart is on the panel itself.
    const struct {
        const char* select;
        const char* view;
        const char* chart;
    } visits[] = {{"Button1", "Panel2", "Chart1"},
                  {"Button2", "Panel8", "Chart8"},
                  {"Button4", "Panel13", "Chart5"}};
    for (const auto& v : visits) {
        SCOPED_TRACE(v.view);
        Click(v.select);
        QWidget* view = Child(v.view);
        ASSERT_TRUE(view->isVisible());
        const QImage shot = m_csp->grab().toImage();
        const QColor face = view->palette().color(QPalette::Window);
        const QRect legend(QPoint(0, Child(v.chart)->height()), view->rect().bottomRight());
        int sampled = 0;
        int wrong = 0;
        for (int y = legend.top(); y <= legend.bottom(); y += 3)
            for (int x = legend.left(); x <= legend.right(); x += 3) {
                const QPoint p(x, y);
                if (!view->contentsRect().contains(p) || view->childAt(p) != nullptr)
                    continue; // the frame, or a legend item
                ++sampled;
                wrong += shot.pixelColor(view->mapTo(m_csp.get(), p)) != face;
            }
        EXPECT_GT(sampled, 500);
        EXPECT_EQ(wrong, 0) << "of " << sampled;
    }
}

TEST_F(CspWindow, TheLegendsOneIsInTheWindowFontOnWhite) {
    const QFont windowFont = m_csp->font();
    for (const char* name : {"Label8", "Label27", "Label22", "Label17"}) {
        SCOPED_TRACE(name);
        auto* one = Child<QLabel>(name);
        one->ensurePolished();
        const QFontInfo used(one->font());
        EXPECT_EQ(used.family().toStdString(), QFontInfo(windowFont).family().toStdString());
        EXPECT_EQ(used.pixelSize(), 16);
        EXPECT_TRUE(used.bold());
        // What it paints is the "1" drawn in the window font on white.
        QImage expected(one->size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        {
            QPainter painter(&expected);
            painter.setFont(windowFont);
            painter.setPen(m_csp->palette().color(QPalette::WindowText));
            painter.drawText(one->contentsRect(), int(one->alignment()), QStringLiteral("1"));
        }
        EXPECT_EQ(one->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
    }
}
