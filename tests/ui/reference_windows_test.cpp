#include "reference/reference_record.h"
#include "ui/help.h"
#include "ui/jon.h"
#include "ui/reference_page.h"
#include "ui/reference_view.h"

#include "tests/ui/gui_test_app.h"

#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

QApplication& App() {
    return GuiTestApp();
}

struct Page {
    const char* caption;
    QRect area;    // the scroll area in its tab sheet
    QSize size;    // the document's natural size
    QPoint offset; // the document inside the area
};

const Page kJonPages[] = {
    {"Линейный код в ЦСП", {-8, 0, 601, 313}, {548, 773}, {24, 16}},
    {"NRZ", {0, 0, 593, 329}, {548, 865}, {8, 0}},
    {"АБС", {0, 0, 593, 313}, {551, 651}, {16, -8}},
    {"ЧПИ", {0, 0, 593, 313}, {548, 627}, {16, 0}},
    {"КВП-3", {0, 0, 593, 313}, {558, 929}, {8, 0}},
};

const Page kHelpPages[] = {
    {"Линейный тракт ВОСП", {0, 0, 593, 313}, {548, 949}, {0, 0}},
    {"Требования", {0, 0, 593, 313}, {548, 986}, {0, 0}},
    {"NRZ", {0, 0, 593, 313}, {585, 607}, {0, 0}},
    {"BI-L", {0, 0, 593, 313}, {585, 497}, {0, 0}},
    {"CMI", {0, 0, 593, 313}, {585, 423}, {0, 0}},
    {"EP-1", {0, 0, 593, 313}, {585, 551}, {0, 0}},
    {"Литература", {0, 0, 593, 313}, {582, 268}, {0, 0}},
};

QTabWidget& Tabs(QWidget& window) {
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    EXPECT_NE(tabs, nullptr);
    return *tabs;
}

QScrollArea& Area(QWidget& window, int page) {
    auto* area = window.findChild<QScrollArea*>(QStringLiteral("ScrollBox%1").arg(page + 1));
    EXPECT_NE(area, nullptr) << page;
    return *area;
}

ReferenceView& View(QWidget& window, int page) {
    auto* view = Area(window, page).widget()->findChild<ReferenceView*>();
    EXPECT_NE(view, nullptr) << page;
    return *view;
}

void ClickTab(QWidget& window, int index) {
    QTabBar* bar = Tabs(window).tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    // Let the newly shown page lay itself out, as it does before it is painted.
    QCoreApplication::processEvents();
}

void ClickButton(QWidget& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void ShowAndWait(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
}

template <std::size_t N>
void ExpectPages(QWidget& window, const Page (&pages)[N]) {
    QTabWidget& tabs = Tabs(window);
    ASSERT_EQ(tabs.count(), static_cast<int>(N));
    for (std::size_t i = 0; i < N; ++i) {
        const int page = static_cast<int>(i);
        const Page& p = pages[i];
        EXPECT_EQ(tabs.tabText(page), QString::fromUtf8(p.caption)) << i;
        QScrollArea& area = Area(window, page);
        EXPECT_EQ(area.parentWidget(), tabs.widget(page)) << i;
        EXPECT_EQ(area.geometry(), p.area) << i;
        ReferenceView& view = View(window, page);
        EXPECT_EQ(view.size(), p.size) << p.caption;
        EXPECT_EQ(view.pos(), p.offset) << p.caption;
        // The scrolled plane ends at the document's right and bottom edges.
        EXPECT_EQ(area.widget()->size(),
                  QSize(p.offset.x() + p.size.width(), p.offset.y() + p.size.height()))
            << p.caption;
        // The page's text and figures fit its natural size, in both directions,
        // and fill most of it: a document shorter than its page by a third has
        // lost something.
        EXPECT_LE(view.contentHeight(), p.size.height()) << p.caption;
        EXPECT_GE(view.contentHeight(), p.size.height() * 7 / 10) << p.caption;
        EXPECT_LE(view.document().size().width(), p.size.width()) << p.caption;
    }
}

} // namespace

TEST(ReferenceWindows, PagesShowTheirDocumentsAtNaturalSizeAndOffset) {
    App();
    Tjon jon;
    ExpectPages(jon, kJonPages);
    THelp help;
    ExpectPages(help, kHelpPages);
}

TEST(ReferenceWindows, WindowsCarryTheirCaptionFrameAndControls) {
    App();
    Tjon jon;
    THelp help;
    const struct {
        QWidget* window;
        const char* name;
        QSize client;
        QPoint tabs;
        bool minMax;
    } cases[] = {
        {&jon, "jon", {613, 392}, {8, 8}, true},
        {&help, "Help", {604, 396}, {0, 0}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.window->objectName(), QString::fromLatin1(c.name));
        EXPECT_EQ(c.window->windowTitle(), QStringLiteral("Справочная информация"));
        EXPECT_EQ(c.window->size(), c.client) << c.name;
        EXPECT_EQ(c.window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint), c.minMax);
        EXPECT_EQ(Tabs(*c.window).geometry(), QRect(c.tabs, QSize(601, 353))) << c.name;
        auto* close = c.window->findChild<QPushButton*>(QStringLiteral("Button1"));
        ASSERT_NE(close, nullptr);
        EXPECT_EQ(close->geometry(), QRect(464, 360, 137, 25));
        EXPECT_EQ(close->text(), QStringLiteral("Закрыть"));
        EXPECT_EQ(c.window->font().pixelSize(), 16);
        EXPECT_TRUE(c.window->font().bold());
    }
    auto* star = help.findChild<QLabel*>(QStringLiteral("StaticText4"));
    ASSERT_NE(star, nullptr);
    EXPECT_EQ(star->geometry(), QRect(472, 360, 13, 26));
    EXPECT_EQ(star->text(), QStringLiteral("*"));
    EXPECT_EQ(star->font().pixelSize(), 19);
    EXPECT_EQ(star->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(jon.findChild<QLabel*>(QStringLiteral("StaticText4")), nullptr);
}

TEST(ReferenceWindows, FirstShowingOpensOnItsPageAndScrollPositions) {
    App();
    Tjon jon;
    ShowAndWait(jon);
    // "NRZ" first, scrolled to the end of its document (558 px is past the range).
    EXPECT_EQ(Tabs(jon).currentIndex(), 1);
    QScrollBar* nrz = Area(jon, 1).verticalScrollBar();
    EXPECT_GT(nrz->maximum(), 400);
    EXPECT_LT(nrz->maximum(), 558);
    EXPECT_EQ(nrz->value(), nrz->maximum());
    QWidget* viewport = Area(jon, 1).viewport();
    EXPECT_EQ(View(jon, 1).mapTo(viewport, QPoint(0, 865)).y(), viewport->height());

    const struct {
        int page;
        bool atEnd;
    } jonPages[] = {{0, false}, {2, false}, {3, false}, {4, true}};
    for (const auto& c : jonPages) {
        ClickTab(jon, c.page);
        ASSERT_EQ(Tabs(jon).currentIndex(), c.page);
        QScrollBar* bar = Area(jon, c.page).verticalScrollBar();
        EXPECT_GT(bar->maximum(), 0) << c.page;
        EXPECT_EQ(bar->value(), c.atEnd ? bar->maximum() : 0) << c.page;
    }
    // On "АБС" the top 8 pixels of the document are out of reach: at the top
    // of the range the view's row 8 is the first one shown.
    ClickTab(jon, 2);
    EXPECT_EQ(View(jon, 2).mapTo(Area(jon, 2).viewport(), QPoint(0, 8)).y(), 0);

    THelp help;
    ShowAndWait(help);
    EXPECT_EQ(Tabs(help).currentIndex(), 0);
    for (int page = 0; page < 7; ++page) {
        ClickTab(help, page);
        ASSERT_EQ(Tabs(help).currentIndex(), page);
        QScrollBar* bar = Area(help, page).verticalScrollBar();
        EXPECT_EQ(bar->value(), 0) << page;
        // Only "Литература" is shorter than its area.
        EXPECT_EQ(bar->isVisible(), page != 6) << page;
    }
    EXPECT_FALSE(Area(help, 6).horizontalScrollBar()->isVisible());
}

TEST(ReferenceWindows, TabAndScrollPositionsSurviveClosingAndReopening) {
    App();
    Tjon jon;
    THelp help;
    const struct {
        QWidget* window;
        int tab;
        bool closeByButton;
    } cases[] = {
        {&jon, 3, true},   // "ЧПИ", closed with "Закрыть"
        {&jon, 0, false},  // closed as by the caption bar's close box
        {&help, 5, true},  // "EP-1"
        {&help, 1, false}, // "Требования"
    };
    for (const auto& c : cases) {
        ShowAndWait(*c.window);
        ClickTab(*c.window, c.tab);
        QScrollBar* bar = Area(*c.window, c.tab).verticalScrollBar();
        bar->setValue(100);
        const int otherTab = c.tab == 0 ? 1 : 0;
        const int otherValue = Area(*c.window, otherTab).verticalScrollBar()->value();
        if (c.closeByButton)
            ClickButton(*c.window, "Button1");
        else
            c.window->close();
        EXPECT_FALSE(c.window->isVisible());

        ShowAndWait(*c.window);
        EXPECT_EQ(Tabs(*c.window).currentIndex(), c.tab);
        EXPECT_EQ(bar->value(), 100);
        EXPECT_EQ(Area(*c.window, otherTab).verticalScrollBar()->value(), otherValue);
        c.window->hide();
    }
}

TEST(ReferenceWindows, AsteriskOverTheCloseButtonDoesNothing) {
    App();
    THelp help;
    ShowAndWait(help);
    auto* star = help.findChild<QLabel*>(QStringLiteral("StaticText4"));
    ASSERT_NE(star, nullptr);
    QTest::mouseClick(star, Qt::LeftButton, {}, star->rect().center());
    EXPECT_TRUE(help.isVisible());
    // The rest of the button still closes the window.
    ClickButton(help, "Button1");
    EXPECT_FALSE(help.isVisible());
}

TEST(ReferenceWindows, TabCaptionUnderTheMouseIsHighlighted) {
    App();
    Tjon jon;
    ShowAndWait(jon);
    QTabBar* bar = Tabs(jon).tabBar();
    const QColor normal = bar->tabTextColor(0);
    for (int hot : {4, 0, 2}) {
        QTest::mouseMove(bar, bar->tabRect(hot).center());
        QTest::qWait(20); // a real display delivers the move asynchronously
        for (int i = 0; i < bar->count(); ++i)
            EXPECT_EQ(bar->tabTextColor(i) == kHotTrackColour, i == hot) << hot << " " << i;
    }
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bar, &leave);
    for (int i = 0; i < bar->count(); ++i)
        EXPECT_EQ(bar->tabTextColor(i), normal) << i;
}

TEST(ReferenceWindows, PressOnRequirementsStartsADragThatNothingAccepts) {
    App();
    THelp help;
    ShowAndWait(help);
    for (int page = 0; page < 7; ++page) {
        ClickTab(help, page);
        ReferenceView& view = View(help, page);
        int drags = 0;
        QObject::connect(&view, &ReferenceView::dragStarted, [&] {
            ++drags;
            // End the drag loop as a user's Escape would.
            QTimer::singleShot(0, [] { QDrag::cancel(); });
        });
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 50));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(100, 50));
        EXPECT_EQ(drags, page == 1 ? 1 : 0) << page;
        EXPECT_TRUE(help.isVisible());
    }
}

TEST(ReferenceWindows, EveryStoredDocumentOpens) {
    App();
    const char* const records[] = {
        ":/docs/help_line_path.bdoc",  ":/docs/help_requirements.bdoc", ":/docs/help_nrz.bdoc",
        ":/docs/help_bil.bdoc",        ":/docs/help_cmi.bdoc",          ":/docs/help_ep1.bdoc",
        ":/docs/help_literature.bdoc", ":/docs/jon_line_code.bdoc",     ":/docs/jon_nrz.bdoc",
        ":/docs/jon_abs.bdoc",         ":/docs/jon_chpi.bdoc",          ":/docs/jon_kvp3.bdoc",
    };
    for (const char* record : records) {
        const QByteArray bytes = ReadStoredRecord(record);
        EXPECT_TRUE(bytes.startsWith("BDOC")) << record;
        ReferenceView view(bytes, {548, 1000});
        const QString text = view.document().toPlainText();
        EXPECT_FALSE(text.contains(QStringLiteral("{{"))) << record;
        EXPECT_GT(text.size(), 300) << record;
    }
    EXPECT_THROW(ReadStoredRecord(":/docs/none.bdoc"), std::runtime_error);
}

TEST(ReferenceWindows, EveryPageIsDrawnWithItsDocument) {
    App();
    Tjon jon;
    THelp help;
    static const char* const jonNames[] = {"line-code", "nrz", "abs", "chpi", "kvp3"};
    static const char* const helpNames[] = {"line-path", "requirements", "nrz",       "bil",
                                            "cmi",       "ep1",          "literature"};
    const struct {
        QWidget* window;
        const char* prefix;
        const char* const* names;
        int pages;
    } windows[] = {{&jon, "jon", jonNames, 5}, {&help, "help", helpNames, 7}};
    // With LC_SCREENSHOT_DIR set, the pictures are also kept there: each page
    // as the window shows it, and each document whole.
    const QString dir = qEnvironmentVariable("LC_SCREENSHOT_DIR");
    for (const auto& w : windows) {
        ShowAndWait(*w.window);
        for (int page = 0; page < w.pages; ++page) {
            ClickTab(*w.window, page);
            const QImage shot = w.window->grab().toImage();
            const QImage document = View(*w.window, page).grab().toImage();
            // A drawn document is mostly white paper with dark text on it.
            int white = 0, dark = 0;
            for (int y = 0; y < document.height(); y += 3)
                for (int x = 0; x < document.width(); x += 3) {
                    const QRgb p = document.pixel(x, y);
                    white += qGray(p) > 245;
                    dark += qGray(p) < 100;
                }
            const int samples = ((document.height() + 2) / 3) * ((document.width() + 2) / 3);
            EXPECT_GT(white, samples / 2) << w.prefix << " " << page;
            EXPECT_GT(dark, samples / 200) << w.prefix << " " << page;
            if (!dir.isEmpty()) {
                const QString name = QStringLiteral("%1/ref-%2-%3-%4")
                                         .arg(dir, QLatin1String(w.prefix))
                                         .arg(page + 1)
                                         .arg(QLatin1String(w.names[page]));
                shot.save(name + QStringLiteral(".png"));
                document.save(name + QStringLiteral("-document.png"));
            }
        }
        w.window->hide();
    }
}

TEST(ReferenceWindows, PageWithAnUnreadableDocumentIsNotInstalled) {
    App();
    // The error leaves the page untouched, so a window whose constructor
    // stops here is destroyed cleanly by the start-up failure path.
    QScrollArea area;
    const ReferencePage page{":/docs/none.bdoc", {100, 100}, {0, 0}, 0};
    EXPECT_THROW(InstallReferencePage(area, page), EStreamError);
    EXPECT_EQ(area.widget(), nullptr);
}

TEST(ReferenceWindows, EveryTabCaptionFitsTheOneRow) {
    App();
    Tjon jon;
    THelp help;
    for (QWidget* window : {static_cast<QWidget*>(&jon), static_cast<QWidget*>(&help)}) {
        window->show();
        QTabBar* bar = Tabs(*window).tabBar();
        const int last = bar->count() - 1;
        EXPECT_LE(bar->tabRect(last).right(), Tabs(*window).width())
            << window->objectName().toStdString();
        for (int i = 0; i < bar->count(); ++i) {
            const int caption = bar->fontMetrics().horizontalAdvance(bar->tabText(i));
            EXPECT_GE(bar->tabRect(i).width(), caption) << bar->tabText(i).toStdString();
        }
        window->close();
    }
}
