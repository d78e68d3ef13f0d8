#include "plot/fonts.h"
#include "tests/ui/gui_test_app.h"
#include "ui/check_mark.h"
#include "ui/csp.h"
#include "ui/dinamic.h"
#include "ui/form1.h"
#include "ui/help.h"
#include "ui/jon.h"
#include "ui/mes.h"
#include "ui/modal.h"
#include "ui/test_window.h"
#include "ui/vosp.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class WindowFramesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        GuiTestApp();
        RegisterFontSubstitutions();
    }
};

enum class Boxes { None, Close, CloseMinMax };

Boxes BoxesOf(const QWidget& w) {
    const Qt::WindowFlags f = w.windowFlags();
    if (!(f & Qt::WindowCloseButtonHint) && !(f & Qt::WindowSystemMenuHint))
        return Boxes::None;
    if (f & Qt::WindowMinimizeButtonHint && f & Qt::WindowMaximizeButtonHint)
        return Boxes::CloseMinMax;
    return Boxes::Close;
}

TEST_F(WindowFramesTest, EachWindowHasItsCaptionPlaceSizeAndCaptionBoxes) {
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    const QPoint centred(desktop.x() + (desktop.width() - 503) / 2,
                         desktop.y() + (desktop.height() - 567) / 2);
    struct Row {
        const char* name;
        std::function<std::unique_ptr<QWidget>()> make;
        const char* caption;
        QPoint topLeft;
        QSize outer;
        Boxes boxes;
    };
    const Row rows[] = {
        {"Form1",
         [] { return std::make_unique<TForm1>(); },
         "Лабораторная работа",
         {125, 69},
         {609, 417},
         Boxes::Close},
        {"CSP",
         [] { return std::make_unique<TCSP>(); },
         "Линейные коды ЦСП",
         {109, -3},
         {619, 580},
         Boxes::CloseMinMax},
        {"Help",
         [] { return std::make_unique<THelp>(); },
         "Справочная информация",
         {119, 81},
         {612, 423},
         Boxes::Close},
        {"mes",
         [] { return std::make_unique<Tmes>(); },
         "Ошибка",
         {286, 192},
         {338, 146},
         Boxes::None},
        {"VOSP",
         [] { return std::make_unique<TVOSP>(); },
         "Линейные коды ЦВОСП",
         {100, 17},
         {640, 525},
         Boxes::Close},
        {"Dinamic",
         [] { return std::make_unique<TDinamic>(); },
         "Dinamic",
         {67, 101},
         {705, 378},
         Boxes::CloseMinMax},
        {"jon",
         [] { return std::make_unique<Tjon>(); },
         "Справочная информация",
         {110, 72},
         {621, 419},
         Boxes::CloseMinMax},
        {"Test",
         [] { return std::make_unique<TTest>(); },
         "Тестирование",
         centred,
         {503, 567},
         Boxes::Close},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::unique_ptr<QWidget> w = row.make();
        EXPECT_EQ(w->objectName(), QString::fromLatin1(row.name));
        EXPECT_TRUE(w->isWindow());
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8(row.caption));
        EXPECT_EQ(w->pos(), row.topLeft);
        // The client area inside a 4-pixel border and a 19-pixel caption.
        EXPECT_EQ(w->size(), QSize(row.outer.width() - 8, row.outer.height() - 27));
        EXPECT_EQ(BoxesOf(*w), row.boxes);
        // Closing only hides a window; it is never destroyed on close.
        EXPECT_FALSE(w->testAttribute(Qt::WA_DeleteOnClose));
    }
}

TEST_F(WindowFramesTest, ClosingButtonsOfTheWorkbenchesAndTheModelEndTheirShowing) {
    struct Row {
        const char* window;
        std::function<std::unique_ptr<QWidget>()> make;
        const char* button;
        QRect geometry;
        const char* text;
        const char* hint;
    };
    const Row rows[] = {
        {"CSP",
         [] { return std::make_unique<TCSP>(); },
         "Button5",
         {8, 352, 121, 25},
         "В меню",
         "Вернуться в меню"},
        {"VOSP",
         [] { return std::make_unique<TVOSP>(); },
         "Button5",
         {328, 456, 137, 25},
         "В меню",
         "Вернуться в меню"},
        {"Dinamic",
         [] { return std::make_unique<TDinamic>(); },
         "Button1",
         {544, 304, 137, 25},
         "Выход",
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.window);
        const std::unique_ptr<QWidget> w = row.make();
        auto* button = w->findChild<QPushButton*>(QString::fromLatin1(row.button));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), row.geometry);
        EXPECT_EQ(button->text(), QString::fromUtf8(row.text));
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(row.hint));
        EXPECT_TRUE(button->font().bold());
        bool shown = false;
        QTimer::singleShot(0, [&] {
            shown = w->isVisible();
            QTest::mouseClick(button, Qt::LeftButton);
            if (w->isVisible()) {
                ADD_FAILURE() << "still shown";
                w->close();
            }
        });
        ShowModal(*w);
        EXPECT_TRUE(shown);
        EXPECT_FALSE(w->isVisible());
    }
}

TEST_F(WindowFramesTest, DesignedFontsResolveToInstalledOnesWithCyrillicAndTheCheckMark) {
    TForm1 form;
    EXPECT_TRUE(QFontInfo(form.font()).family().startsWith(QStringLiteral("URW Bookman")))
        << QFontInfo(form.font()).family().toStdString();
    EXPECT_EQ(QFontInfo(form.font()).pixelSize(), 16);
    EXPECT_TRUE(QFontMetrics(form.font()).inFont(QChar(u'Ж')));

    CheckMark mark;
    EXPECT_TRUE(mark.isHidden());
    EXPECT_EQ(mark.text(), QString(QChar(kCheckMarkCharacter)));
    EXPECT_EQ(mark.font().family(), QStringLiteral("Wingdings"));
    EXPECT_TRUE(QFontInfo(mark.font()).family().startsWith(QStringLiteral("DejaVu Sans")));
    EXPECT_TRUE(QFontMetrics(mark.font()).inFont(QChar(kCheckMarkCharacter)));
    EXPECT_EQ(mark.palette().color(QPalette::WindowText), QColor(0, 128, 0));
    // It really draws: green pixels appear where the mark is painted.
    mark.SetHeight(19);
    EXPECT_EQ(mark.font().pixelSize(), 19);
    mark.resize(24, 24);
    const QImage shot = mark.grab().toImage();
    int green = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            green += c.green() > 60 && c.red() < c.green() / 2 && c.blue() < c.green() / 2;
        }
    EXPECT_GT(green, 10);
}

// Every check mark of the workbench and the model keeps the designed caption,
// the symbol font's 0xFC, and shows the check mark it stands for.
TEST_F(WindowFramesTest, CheckMarksKeepTheirDesignedCaption) {
    TVOSP vosp;
    TDinamic dinamic;
    int marks = 0;
    for (QWidget* window : {static_cast<QWidget*>(&vosp), static_cast<QWidget*>(&dinamic)}) {
        for (CheckMark* mark : window->findChildren<CheckMark*>()) {
            ++marks;
            EXPECT_EQ(mark->DesignedCaption(), QStringLiteral("ь"))
                << mark->objectName().toStdString();
            EXPECT_EQ(mark->text(), QString(QChar(kCheckMarkCharacter)));
        }
    }
    EXPECT_EQ(marks, 6 + 4);
    // A caption that is not the symbol font's check mark shows as it stands.
    CheckMark other;
    other.SetDesignedCaption(QStringLiteral("*"));
    EXPECT_EQ(other.text(), QStringLiteral("*"));
}

TEST_F(WindowFramesTest, PicturesAndIconsOpenFromTheResources) {
    struct Row {
        const char* path;
        QSize size;
    };
    for (const Row& row : {Row{":/pictures/program_icon.png", {32, 32}},
                           Row{":/pictures/test_icon.png", {32, 32}}}) {
        const QImage image(QString::fromLatin1(row.path));
        EXPECT_FALSE(image.isNull()) << row.path;
        EXPECT_EQ(image.size(), row.size) << row.path;
    }
    // The main menu's picture, 300 x 500, is opaque everywhere.
    QSvgRenderer picture(QStringLiteral(":/pictures/main_menu.svg"));
    ASSERT_TRUE(picture.isValid());
    EXPECT_EQ(picture.defaultSize(), QSize(300, 500));
    QImage drawn(picture.defaultSize(), QImage::Format_ARGB32);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    picture.render(&painter);
    painter.end();
    int transparent = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            transparent += qAlpha(drawn.pixel(x, y)) != 255;
    EXPECT_EQ(transparent, 0);
}

} // namespace
