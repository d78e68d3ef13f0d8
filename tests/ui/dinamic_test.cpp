#include "animation/line_path_animation.h"
#include "plot/fonts.h"
#include "tests/ui/gui_test_app.h"
#include "ui/check_mark.h"
#include "ui/dinamic.h"
#include "ui/modal.h"

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPaintEvent>
#include <QPushButton>
#include <QRegion>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records the paint events of a window and of everything in it, each with
// its region in the window's coordinates.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& window) : m_window(window) { Watch(window); }

    struct Paint {
        QWidget* widget;
        QRegion region; // in the window's coordinates
    };
    std::vector<Paint> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* w = static_cast<QWidget*>(watched);
            const QRegion region = static_cast<QPaintEvent*>(event)->region();
            paints.push_back({w, region.translated(w->mapTo(&m_window, QPoint(0, 0)))});
        }
        return false;
    }

private:
    void Watch(QWidget& w) {
        w.installEventFilter(this);
        for (QWidget* child : w.findChildren<QWidget*>())
            child->installEventFilter(this);
    }
    QWidget& m_window;
};

// Waits for the event loop to make `done` true, at most `ms` milliseconds.
bool WaitFor(const std::function<bool()>& done, int ms = 2000) {
    for (int waited = 0; waited < ms && !done(); waited += 5)
        QTest::qWait(5);
    return done();
}

QColor Rgb(Colour c) {
    return {RedOf(c), GreenOf(c), BlueOf(c)};
}

// The colour the model's shapes give a window pixel, drawn in order, a later
// shape over an earlier one; nothing if no shape covers it.
std::optional<QColor> ShapeColourAt(const LinePathAnimation& a, int x, int y) {
    std::optional<QColor> colour;
    for (const PulseShape& s : a.shapes()) {
        const QRect r(s.left, s.top, s.width, s.height);
        if (!r.contains(x, y))
            continue;
        const bool outline = x == r.left() || x == r.right() || y == r.top() || y == r.bottom();
        colour = Rgb(outline ? s.pen : kPulseBrush);
    }
    return colour;
}

bool IsShapeColour(const QColor& c) {
    return c == Rgb(kPulseBrush) || c == Rgb(clBlue) || c == Rgb(clPurple);
}

class DinamicWindow : public ::testing::Test {
protected:
    void SetUp() override {
        GuiTestApp();
        m_window = std::make_unique<TDinamic>();
        m_window->SetClock([this] { return m_ms; });
    }

    template <class T = QWidget>
    T* Child(const char* name) const {
        T* w = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Show() {
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void SetTicks(std::int64_t ticks) { m_ms = ticks * kTickMilliseconds + 17; }
    void Click(const char* button) const {
        QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton);
    }
    // Whether what a label draws lies over the window's pixel: any pixel of
    // a text label (its letters are smoothed into many colours), the
    // opaque pixels of a picture.
    bool UnderALabel(int x, int y) const {
        auto* label = qobject_cast<QLabel*>(m_window->childAt(x, y));
        if (label == nullptr)
            return false;
        if (label->pixmap().isNull())
            return true;
        const QImage picture = label->pixmap().toImage().scaled(label->size());
        return qAlpha(picture.pixel(label->mapFrom(m_window.get(), QPoint(x, y)))) > 0;
    }
    // Compares a row of the rendered window with the model: between the
    // blocks each pixel has the colour of the shapes under it, or none;
    // over the blocks no shape shows at all.
    void ExpectRowDrawnAsTheModelHasIt(const QImage& shot, int y) const {
        const LinePathAnimation& a = m_window->animation();
        const QRect strips[] = {m_window->ElectricalStrip(), m_window->OpticalStrip()};
        int shapePixels = 0;
        for (int x = 0; x < shot.width(); ++x) {
            if (UnderALabel(x, y))
                continue;
            const QColor seen = shot.pixelColor(x, y);
            const bool between = strips[0].contains(x, y) || strips[1].contains(x, y);
            const std::optional<QColor> expected = ShapeColourAt(a, x, y);
            if (between && expected) {
                ASSERT_EQ(seen, *expected) << "x " << x << " y " << y;
                ++shapePixels;
            } else {
                ASSERT_FALSE(IsShapeColour(seen))
                    << "x " << x << " y " << y << " " << seen.name().toStdString();
            }
        }
        EXPECT_GT(shapePixels, 0) << y;
    }

    std::int64_t m_ms = 0;
    std::unique_ptr<TDinamic> m_window;
};

} // namespace

TEST_F(DinamicWindow, ShownAfterAnyTicksItDrawsTheShapesWhereTheTicksPutThemBetweenTheBlocks) {
    EXPECT_EQ(m_window->ElectricalStrip(), QRect(129, 136, 135, 57));
    EXPECT_EQ(m_window->OpticalStrip(), QRect(393, 136, 135, 57));
    for (std::int64_t ticks : {0, 1, 3, 50, 95, 1000, 123457, 86'400'000 / 50}) {
        SCOPED_TRACE(ticks);
        SetTicks(ticks);
        Show();
        EXPECT_EQ(m_window->animation().ticks(), ticks);
        LinePathAnimation expected;
        expected.SetTicks(ticks);
        for (std::size_t i = 0; i < expected.shapes().size(); ++i)
            EXPECT_EQ(m_window->animation().shapes()[i].left, expected.shapes()[i].left);
        const QImage shot = m_window->grab().toImage();
        for (int y : {136, 137, 160, 183, 191, 192})
            ExpectRowDrawnAsTheModelHasIt(shot, y);
        // An electrical 0 is a line along the pulses' foot.
        for (const char* flat : {"Sh2", "Sh4", "Sh5"}) {
            const int x = m_window->animation().Shape(flat).left + 16;
            if (x > 129 && x < 225) {
                EXPECT_EQ(shot.pixelColor(x, 192), Rgb(clBlue)) << flat;
            }
        }
        m_window->hide();
    }
}

TEST_F(DinamicWindow, CodeButtonsChangeOnlyHeightsAndShowTheirMarksForGood) {
    SetTicks(777);
    Show();
    for (const PulseShape& s : m_window->animation().shapes()) {
        if (s.train == PulseTrain::Optical) {
            EXPECT_EQ(s.height, kStartOpticalHeight) << s.name;
        }
    }
    const char* marks[] = {"StaticText3", "StaticText2", "StaticText1", "StT1"};
    for (const char* m : marks)
        EXPECT_FALSE(Child(m)->isVisible()) << m;
    auto lefts = [&] {
        std::vector<int> out;
        for (const PulseShape& s : m_window->animation().shapes())
            out.push_back(s.left);
        return out;
    };
    const std::vector<int> before = lefts();

    Click("Button4"); // BI-L
    EXPECT_TRUE(Child("StaticText2")->isVisible());
    Click("Button2"); // NRZ
    EXPECT_TRUE(Child("StaticText3")->isVisible());
    EXPECT_TRUE(Child("StaticText2")->isVisible());
    EXPECT_FALSE(Child("StaticText1")->isVisible());
    EXPECT_FALSE(Child("StT1")->isVisible());
    EXPECT_EQ(lefts(), before);
    LinePathAnimation nrz;
    nrz.ShowCode(LineCode::Nrz);
    for (std::size_t i = 0; i < nrz.shapes().size(); ++i)
        EXPECT_EQ(m_window->animation().shapes()[i].height, nrz.shapes()[i].height);
    QTest::qWait(20); // the repaint of the optical strip
    const QImage shot = m_window->grab().toImage();
    for (int y : {136, 160, 192})
        ExpectRowDrawnAsTheModelHasIt(shot, y);
    // Each shown mark draws green over its button.
    for (const char* m : {"StaticText3", "StaticText2"}) {
        const QRect r = Child(m)->geometry();
        int green = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                green += shot.pixelColor(x, y) == QColor(0, 128, 0);
        EXPECT_GT(green, 10) << m;
    }
    // The marks and the red star let clicks through to the buttons below.
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {},
                      Child("StaticText2")->geometry().center());
    LinePathAnimation bil;
    bil.ShowCode(LineCode::BiL);
    for (std::size_t i = 0; i < bil.shapes().size(); ++i)
        EXPECT_EQ(m_window->animation().shapes()[i].height, bil.shapes()[i].height);
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {},
                      Child("StaticText4")->geometry().center());
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(DinamicWindow, HiddenItNeitherRunsNorPaintsAndShownATickRepaintsOnlyTheStrips) {
    auto* timer = Child<QTimer>("Timer1");
    PaintRecorder recorder(*m_window);
    for (int i = 1; i <= 5; ++i) {
        SetTicks(i * 40);
        QTest::qWait(60);
    }
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(recorder.paints.empty());

    Show();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(m_window->animation().ticks(), 200);
    ASSERT_TRUE(WaitFor([&] { return !recorder.paints.empty(); }));
    QTest::qWait(60);
    recorder.paints.clear();

    // The timer wakes by itself, sees the next tick and moves the shapes.
    SetTicks(201);
    ASSERT_TRUE(WaitFor([&] { return m_window->animation().ticks() == 201; }));
    ASSERT_TRUE(WaitFor([&] { return !recorder.paints.empty(); }));
    QTest::qWait(20);
    const QRegion strips = QRegion(m_window->ElectricalStrip()) + m_window->OpticalStrip();
    QRegion painted;
    for (const auto& p : recorder.paints) {
        EXPECT_TRUE((p.region - strips).isEmpty()) << p.widget->objectName().toStdString();
        EXPECT_FALSE(p.widget->objectName().startsWith("Panel"))
            << p.widget->objectName().toStdString();
        EXPECT_FALSE(p.widget->objectName().startsWith("Button"))
            << p.widget->objectName().toStdString();
        if (p.widget == m_window.get())
            painted += p.region;
    }
    EXPECT_EQ(painted, strips);

    // No new tick, no repaint.
    recorder.paints.clear();
    QTest::qWait(120);
    EXPECT_TRUE(recorder.paints.empty());

    m_window->hide();
    EXPECT_FALSE(timer->isActive());
}

TEST_F(DinamicWindow, ExitAndCloseBoxReturnKeepingPatternAndMarksWhileTicksCountOnAbove) {
    QWidget above;
    above.resize(100, 60);
    SetTicks(10);
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(m_window->isVisible());
        Click("Button3"); // CMI
        // A window shown modally over this one: the ticks still count and
        // the shapes move meanwhile.
        QTimer::singleShot(0, [&] {
            SetTicks(15);
            EXPECT_TRUE(WaitFor([&] { return m_window->animation().ticks() == 15; }));
            above.close();
        });
        ShowModal(above);
        Click("Button1"); // Выход
    });
    ShowModal(*m_window);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_window->animation().ticks(), 15);

    SetTicks(5000);
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(m_window->animation().ticks(), 5000);
        EXPECT_TRUE(Child("StaticText1")->isVisible());
        m_window->close(); // as the caption's close box does
    });
    ShowModal(*m_window);
    EXPECT_FALSE(m_window->isVisible());
    LinePathAnimation cmi;
    cmi.ShowCode(LineCode::Cmi);
    for (std::size_t i = 0; i < cmi.shapes().size(); ++i)
        EXPECT_EQ(m_window->animation().shapes()[i].height, cmi.shapes()[i].height);
    EXPECT_TRUE(Child("StaticText1")->isVisibleTo(m_window.get()));
    EXPECT_FALSE(Child("StaticText2")->isVisibleTo(m_window.get()));
}

TEST_F(DinamicWindow, TextsStandAsDesignedAndNoneIsClipped) {
    const struct {
        const char* name;
        const char* text;
        const char* parent;
    } texts[] = {
        {"Label13", "Динамическая модель линейного кодирования", "Dinamic"},
        {"Label14", "По схеме видно, как происходит линейное кодирование в действии: АФЦП",
         "Dinamic"},
        {"Label16", "формирует цифровой поток заданной скорости передачи и подает его на ОЛТ",
         "Dinamic"},
        {"Label15", "ОЛТ содержит преобразователь кода, предназначенный для формирования",
         "Dinamic"},
        {"Label17", "помехоустойчивого линейного сигнала ЦВОСП и квантово-электронный модуль",
         "Dinamic"},
        {"Label18", "преобразующие электрические сигналы в оптические и наоборот.", "Dinamic"},
        {"Label3", "АФЦП", "Panel1"},
        {"Label4", "Аппаратура", "Panel1"},
        {"Label5", "формирования", "Panel1"},
        {"Label6", "цифрового", "Panel1"},
        {"Label7", "потока", "Panel1"},
        {"Label8", "ОЛТ", "Panel2"},
        {"Label9", "Оборудование", "Panel2"},
        {"Label10", "линейного", "Panel2"},
        {"Label11", "тракта", "Panel2"},
        {"Label12", "ОК", "Panel3"},
        {"Label21", "Электрический", "Dinamic"},
        {"Label22", "сигнал", "Dinamic"},
        {"Label19", "Оптический", "Dinamic"},
        {"Label20", "сигнал", "Dinamic"},
        {"Label1", "Выберите", "Dinamic"},
        {"Label2", "тип  кода !", "Dinamic"},
        {"StaticText4", "*", "Dinamic"},
        {"Button2", "NRZ", "Dinamic"},
        {"Button4", "BI-L", "Dinamic"},
        {"Button3", "CMI", "Dinamic"},
        {"Button5", "EP-1", "Dinamic"},
        {"Button1", "Выход", "Dinamic"},
    };
    for (const auto& t : texts) {
        SCOPED_TRACE(t.name);
        QWidget* w = Child(t.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(t.parent));
        const QString text = w->property("text").toString();
        EXPECT_EQ(text, QString::fromUtf8(t.text));
        const QSize need = QFontMetrics(w->font()).boundingRect(text).size();
        EXPECT_LE(need.width(), w->width());
        // Whether the ink of a label's text is clipped anywhere is checked for
        // every label of every window by the designed-style tests; a line
        // height a pixel above a short box clips nothing of a "*".
        // Stays inside its parent, so that nothing cuts it off.
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << w->geometry().x();
    }
    EXPECT_EQ(Child("Panel1")->toolTip(),
              QString::fromUtf8("АФЦП формирует цифровой поток заданой скорости передачи"));
    EXPECT_EQ(Child("Panel2")->toolTip(),
              QString::fromUtf8("ОЛТ формирует помехоустойчивый линейный сигнал"));
    EXPECT_EQ(Child("Panel3")->toolTip(), QString::fromUtf8("Оптический кабель"));
    // The check marks keep their designed symbol-font caption and draw the check mark.
    for (const char* m : {"StaticText3", "StaticText2", "StaticText1", "StT1"}) {
        auto* mark = Child<CheckMark>(m);
        ASSERT_NE(mark, nullptr);
        EXPECT_EQ(mark->property("designedCaption").toString(), QString(QChar(0x044C))) << m;
        EXPECT_EQ(mark->font().family(), QStringLiteral("Wingdings")) << m;
        EXPECT_TRUE(mark->font().bold()) << m;
        EXPECT_EQ(mark->font().pixelSize(), 19) << m;
        EXPECT_EQ(mark->text(), QString(QChar(kCheckMarkCharacter))) << m;
    }
    // The pictures open, with transparent corners.
    for (const char* p : {"Image1", "Image2", "Image4", "Image3"}) {
        const QImage picture = Child<QLabel>(p)->pixmap().toImage();
        ASSERT_FALSE(picture.isNull()) << p;
        EXPECT_TRUE(picture.hasAlphaChannel()) << p;
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << p;
        EXPECT_EQ(qAlpha(picture.pixel(picture.width() - 1, picture.height() - 1)), 0) << p;
    }
}
