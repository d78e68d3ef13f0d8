#include "tests/ui/gui_test_app.h"
#include "ui/csp.h"
#include "ui/designed_style.h"
#include "ui/dinamic.h"
#include "ui/form1.h"
#include "ui/help.h"
#include "ui/jon.h"
#include "ui/mes.h"
#include "ui/test_window.h"
#include "ui/vosp.h"

#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The whole window set, each window as start-up builds it.
std::vector<std::unique_ptr<QWidget>> AllWindows() {
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<TForm1>());
    windows.push_back(std::make_unique<TCSP>());
    windows.push_back(std::make_unique<THelp>());
    windows.push_back(std::make_unique<Tmes>());
    windows.push_back(std::make_unique<TVOSP>());
    windows.push_back(std::make_unique<TDinamic>());
    windows.push_back(std::make_unique<Tjon>());
    windows.push_back(std::make_unique<TTest>());
    return windows;
}

// Labels, bevels, shapes and pictures are the layouts' graphic controls.
bool IsGraphic(const QObject& o) {
    static const QRegularExpression graphic(QStringLiteral("^(Label|Bevel|Image|Shape)[0-9]*$"));
    return graphic.match(o.objectName()).hasMatch();
}

std::string Where(const QWidget& w) {
    return (w.window()->objectName() + QLatin1Char('/') + w.objectName()).toStdString();
}

QList<QWidget*> ChildWidgets(const QWidget& parent) {
    QList<QWidget*> list;
    for (QObject* c : parent.children())
        if (c->isWidgetType())
            list << static_cast<QWidget*>(c);
    return list;
}

// Where a label lays its text out, as QLabel does: inside its contents
// margins, its margin and its indent.
QRect TextRoom(const QLabel& label) {
    QRect room = label.contentsRect();
    const int m = label.margin();
    room.adjust(m, m, -m, -m);
    int indent = label.indent();
    if (indent < 0 && label.frameWidth() > 0)
        indent = label.fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - m;
    if (indent > 0) {
        const Qt::Alignment a = label.alignment();
        if (a & Qt::AlignLeft)
            room.setLeft(room.left() + indent);
        if (a & Qt::AlignRight)
            room.setRight(room.right() - indent);
        if (a & Qt::AlignTop)
            room.setTop(room.top() + indent);
        if (a & Qt::AlignBottom)
            room.setBottom(room.bottom() - indent);
    }
    return room;
}

int Inked(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += qAlpha(image.pixel(x, y)) > 0;
    return n;
}

QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

class DesignedStyleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { GuiTestApp(); }
};

TEST_F(DesignedStyleTest, EveryLabelShowsAllOfItsTextClearOfTheWindowedControlsBesideIt) {
    constexpr int kRoom = 40; // around the free drawing, for whatever spills
    int checked = 0;
    for (const auto& window : AllWindows()) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || !label->pixmap().isNull())
                continue;
            SCOPED_TRACE(Where(*label));
            ++checked;
            label->ensurePolished();
            // The text drawn as the label lays it out, but with nothing to clip it.
            QImage free(label->size() + QSize(2 * kRoom, 2 * kRoom),
                        QImage::Format_ARGB32_Premultiplied);
            free.fill(Qt::transparent);
            {
                QPainter painter(&free);
                painter.setFont(label->font());
                painter.drawText(TextRoom(*label).translated(kRoom, kRoom),
                                 int(label->alignment()) | Qt::TextDontClip, label->text());
            }
            // The label as it paints itself, its text alone.
            const bool filled = label->autoFillBackground();
            label->setAutoFillBackground(false);
            QImage own(label->size(), QImage::Format_ARGB32_Premultiplied);
            own.fill(Qt::transparent);
            label->render(&own, QPoint(), QRegion(), QWidget::DrawChildren);
            label->setAutoFillBackground(filled);

            const QRect inside(QPoint(kRoom, kRoom), label->size());
            const int all = Inked(free, free.rect());
            ASSERT_GT(all, 0);
            EXPECT_EQ(Inked(free, inside), all) << "text beyond the label's edges";
            EXPECT_EQ(Inked(own, own.rect()), all) << "text clipped inside the label";

            // Nothing windowed above it covers the text, and its parent shows
            // all of it. Every windowed control lies above a graphic label; a
            // windowed static text lies above the controls before it.
            const QRect ink = InkBounds(free).translated(label->pos() - QPoint(kRoom, kRoom));
            QWidget* parent = label->parentWidget();
            EXPECT_TRUE(parent->rect().contains(ink)) << "text beyond its parent";
            const QList<QWidget*> siblings = ChildWidgets(*parent);
            for (QWidget* sibling : siblings) {
                const bool above =
                    IsGraphic(*label) || siblings.indexOf(sibling) > siblings.indexOf(label);
                if (sibling != label && !IsGraphic(*sibling) && above) {
                    EXPECT_FALSE(sibling->geometry().intersects(ink))
                        << "text under " << sibling->objectName().toStdString();
                }
            }
        }
    }
    EXPECT_GT(checked, 50);
}

TEST_F(DesignedStyleTest, WindowedControlsTakeTheMouseWhereTheyCoverAGraphicOne) {
    int covered = 0;
    for (const auto& window : AllWindows()) {
        for (QWidget* parent : window->findChildren<QWidget*>()) {
            const QList<QWidget*> children = ChildWidgets(*parent);
            for (QWidget* graphic : children) {
                if (!IsGraphic(*graphic) || graphic->isHidden())
                    continue;
                for (QWidget* windowed : children) {
                    if (IsGraphic(*windowed) || windowed->isHidden())
                        continue;
                    const QRect both = graphic->geometry() & windowed->geometry();
                    if (both.isEmpty())
                        continue;
                    ++covered;
                    QWidget* hit = parent->childAt(both.center());
                    while (hit != nullptr && hit->parentWidget() != parent)
                        hit = hit->parentWidget();
                    EXPECT_NE(hit, graphic) << Where(*graphic) << " above " << Where(*windowed);
                }
            }
        }
    }
    EXPECT_GT(covered, 0);
}

TEST_F(DesignedStyleTest, TheCreditsLineStillTakesAClickOfItsOwn) {
    TForm1 form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* credits = form.findChild<QLabel*>(QStringLiteral("Label3"));
    ASSERT_NE(credits, nullptr);
    ASSERT_FALSE(form.Button1()->isVisible());
    // A click where the student would make it: through the window, at the
    // middle of the line, which lies on the frame drawn around the column.
    const QPoint at = credits->mapTo(&form, credits->rect().center());
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(form.Button1()->isVisible());
    EXPECT_TRUE(form.Button2()->isVisible());
}

template <class W>
W* Make(QWidget& parent, const char* name, QRect geometry) {
    auto* w = new W(&parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

// Which direct child of `parent` the mouse reaches at `p`.
QWidget* TopChildAt(QWidget& parent, QPoint p) {
    QWidget* hit = parent.childAt(p);
    while (hit != nullptr && hit->parentWidget() != &parent)
        hit = hit->parentWidget();
    return hit;
}

TEST_F(DesignedStyleTest, AWindowBuiltInCodeGetsTheSameRulesFromItsControlsNames) {
    // Laid out in this order, each later one over the earlier ones.
    QWidget root;
    root.resize(400, 200);
    auto* panel = Make<QFrame>(root, "Panel1", {0, 0, 200, 100});
    auto* label = Make<QLabel>(root, "Label1", {10, 10, 100, 20});
    auto* button = Make<QPushButton>(root, "Button1", {220, 10, 100, 25});
    auto* bevel = Make<QFrame>(root, "Bevel1", {210, 0, 120, 45});
    auto* mark = Make<QLabel>(root, "StT1", {222, 12, 20, 20});
    auto* shape = Make<QFrame>(*panel, "Shape1", {0, 0, 200, 100});
    auto* inner = Make<QFrame>(*panel, "Panel2", {50, 50, 50, 40});
    label->setText(QStringLiteral("текст"));
    mark->setText(QStringLiteral("*"));
    ApplyDesignedStyle(root, "Bookman Old Style", 16, true);

    EXPECT_EQ(TopChildAt(root, {15, 15}), panel);   // the label lies below the panel
    EXPECT_EQ(TopChildAt(root, {300, 20}), button); // the bevel below the button
    EXPECT_EQ(TopChildAt(root, {225, 15}), mark);   // windowed ones keep their order
    EXPECT_EQ(TopChildAt(root, {215, 40}), bevel);  // uncovered, the bevel is hit
    EXPECT_EQ(TopChildAt(*panel, {60, 60}), inner); // and so inside a panel
    EXPECT_EQ(TopChildAt(*panel, {10, 10}), shape);
    // A shape made in code afterwards, as an animation might make one, over
    // the panel and the button: it goes below them when it is first shown.
    auto* pulse = Make<QFrame>(root, "Shape2", {150, 20, 100, 10});
    root.show();
    EXPECT_TRUE(pulse->isVisible());
    EXPECT_EQ(TopChildAt(root, {160, 25}), panel);
    EXPECT_EQ(TopChildAt(root, {240, 25}), button);
    EXPECT_EQ(TopChildAt(root, {205, 25}), pulse);
    root.hide();
    EXPECT_TRUE(panel->autoFillBackground());
    EXPECT_TRUE(inner->autoFillBackground());
    EXPECT_FALSE(label->autoFillBackground());
    EXPECT_FALSE(button->autoFillBackground());
}

TEST_F(DesignedStyleTest, ATextWithNoRoomToGrowShrinksByTheLeastThatFits) {
    // A line boxed in by buttons on every side, a little too wide for its room.
    QWidget root;
    root.resize(400, 100);
    const QString text = QStringLiteral("Оборудование линейного тракта");
    QFont designed = DesignedFont("Bookman Old Style", 16);
    const int width = QFontMetrics(designed).horizontalAdvance(text) - 12;
    auto* label = Make<QLabel>(root, "Label1", {20, 30, width, 26});
    label->setText(text);
    label->setProperty("fontHeight", 16);
    label->setProperty("fontBold", false);
    Make<QPushButton>(root, "Button1", {0, 30, 20, 26});
    Make<QPushButton>(root, "Button2", {20 + width, 30, 60, 26});
    Make<QPushButton>(root, "Button3", {0, 0, 400, 30});
    Make<QPushButton>(root, "Button4", {0, 56, 400, 30});
    ApplyDesignedStyle(root, "Bookman Old Style", 16, true);

    const int pixels = label->font().pixelSize();
    EXPECT_LT(pixels, 16);
    EXPECT_FALSE(label->font().bold());
    EXPECT_EQ(label->geometry(), QRect(20, 30, width, 26));
    QFont fitted = label->font();
    EXPECT_LE(QFontMetrics(fitted).horizontalAdvance(text), width);
    fitted.setPixelSize(pixels + 1);
    EXPECT_GT(QFontMetrics(fitted).horizontalAdvance(text), width);
}

} // namespace
