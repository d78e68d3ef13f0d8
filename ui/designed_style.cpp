#include "ui/designed_style.h"

#include <QChildEvent>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

// A designed control's kind shows in its name: a kind followed by a number.
bool NamedAs(const QObject& object, std::initializer_list<const char*> kinds) {
    const QString name = object.objectName();
    for (const char* kind : kinds) {
        const QLatin1String prefix(kind);
        if (!name.startsWith(prefix))
            continue;
        const QStringView number = QStringView(name).mid(prefix.size());
        if (std::all_of(number.begin(), number.end(), [](QChar c) { return c.isDigit(); }))
            return true;
    }
    return false;
}

// Labels, bevels, shapes and pictures are drawn by their parent; everything
// else (panels, charts, buttons, edit fields, static texts) is a window of
// its own.
bool IsGraphicControl(const QObject& object) {
    return NamedAs(object, {"Label", "Bevel", "Image", "Shape"});
}

bool IsPanel(const QObject& object) {
    return NamedAs(object, {"Panel"});
}

// A parent draws its graphic controls on itself, before its windowed
// children paint over them: whatever their order in the layout, the graphic
// controls lie below, among themselves in their layout order, and a windowed
// control that covers one takes the mouse there.
void StackGraphicControlsBelow(QWidget& parent) {
    std::vector<QWidget*> graphic;
    for (QObject* child : parent.children()) {
        if (child->isWidgetType() && IsGraphicControl(*child))
            graphic.push_back(static_cast<QWidget*>(child));
    }
    // Each lower() puts one at the very bottom, so the last goes first.
    for (auto it = graphic.rbegin(); it != graphic.rend(); ++it)
        (*it)->lower();
}

// Keeps that order for graphic controls that a window adds in code after
// styling (shapes made for an animation, say): each is put in its place
// when it is first polished, just before it is first shown.
class GraphicStacking : public QObject {
public:
    static GraphicStacking& Instance() {
        // Kept for the whole process: every styled widget refers to it.
        static auto* instance = new GraphicStacking;
        return *instance;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ChildPolished && watched->isWidgetType() &&
            IsGraphicControl(*static_cast<QChildEvent*>(event)->child()))
            StackGraphicControlsBelow(*static_cast<QWidget*>(watched));
        return false;
    }
};

// How far a label's text may move from its designed place, per axis, to
// get clear of a windowed control when it has to grow.
constexpr int kMaxShift = 8;
// Smallest share of the designed height a text is shrunk to before giving up.
constexpr int kMinShrinkPercent = 75;
// A line centred in a room of another parity stands half a pixel off the
// grid, and its smoothed ink reaches one pixel beyond its outlines' bounds.
constexpr int kInkSpill = 1;

enum class Place { Start, Centre, End };

Place HorizontalPlace(Qt::Alignment a) {
    if (a & Qt::AlignHCenter)
        return Place::Centre;
    return a & Qt::AlignRight ? Place::End : Place::Start;
}

Place VerticalPlace(Qt::Alignment a) {
    if (a & Qt::AlignTop)
        return Place::Start;
    return a & Qt::AlignBottom ? Place::End : Place::Centre;
}

// An interval [start, start + length) grown to `length`, standing where the
// text anchored at `place` stays put.
int GrownStart(int start, int length, int grown, Place place) {
    switch (place) {
    case Place::Start:
        return start;
    case Place::Centre:
        return start - (grown - length) / 2;
    case Place::End:
        return start - (grown - length);
    }
    return start;
}

// Fits one label's text into room where all of it shows. QLabel lays its
// text out in its contents rectangle; when the line box (advance widths by
// ascent plus descent) does not fit there, the text is clipped to it, and
// when it does, the ink may spill over into the rest of the label (and no
// further). URW Bookman, for one, has a much taller line box than the
// designed Bookman Old Style, so a label sized to the designed line clips
// the descenders.
class TextFit {
public:
    explicit TextFit(QLabel& label) : m_label(label) {}

    void Run() {
        QWidget* parent = m_label.parentWidget();
        if (parent == nullptr || m_label.text().isEmpty() || m_label.wordWrap() ||
            !m_label.pixmap().isNull() ||
            (m_label.textFormat() != Qt::PlainText && Qt::mightBeRichText(m_label.text())))
            return;
        m_parentRect = parent->rect();
        for (QObject* child : parent->children()) {
            if (child != &m_label && child->isWidgetType() && !IsGraphicControl(*child))
                m_windowed.push_back(static_cast<QWidget*>(child)->geometry());
        }
        QFont font = m_label.font();
        const int designed = font.pixelSize();
        if (designed <= 0)
            return;
        // A framed label's frame is drawn in its margins: only its font may change.
        const bool mayGrow = m_label.frameWidth() == 0;
        const int smallest = std::max(1, designed * kMinShrinkPercent / 100);
        for (int pixels = designed; pixels >= smallest; --pixels) {
            font.setPixelSize(pixels);
            const QFontMetrics metrics(font);
            if (FitsAsDesigned(metrics) || (mayGrow && Grow(metrics))) {
                if (pixels != designed)
                    m_label.setFont(font);
                return;
            }
        }
        // Nothing fits: the label stays as designed.
    }

private:
    // The room that QLabel lays the text out in, for the label at `rect`.
    QRect LayoutRect(const QRect& rect, const QFontMetrics& metrics) const {
        QRect r = rect.marginsRemoved(m_label.contentsMargins());
        const int margin = m_label.margin();
        r.adjust(margin, margin, -margin, -margin);
        int indent = m_label.indent();
        if (indent < 0 && m_label.frameWidth() > 0)
            indent = metrics.horizontalAdvance(QLatin1Char('x')) / 2 - margin;
        if (indent > 0) {
            const Qt::Alignment a = m_label.alignment();
            if (a & Qt::AlignLeft)
                r.setLeft(r.left() + indent);
            if (a & Qt::AlignRight)
                r.setRight(r.right() - indent);
            if (a & Qt::AlignTop)
                r.setTop(r.top() + indent);
            if (a & Qt::AlignBottom)
                r.setBottom(r.bottom() - indent);
        }
        return r;
    }

    // The line box and the ink of the text laid out in `room`.
    std::pair<QRect, QRect> Text(const QRect& room, const QFontMetrics& metrics) const {
        const QString& text = m_label.text();
        const QRect box = metrics.boundingRect(room, int(m_label.alignment()), text);
        const QRect ink = text.contains(QLatin1Char('\n'))
                              ? box
                              : metrics.tightBoundingRect(text).translated(
                                    box.left(), box.top() + metrics.ascent());
        return {box, ink.adjusted(0, -kInkSpill, 0, kInkSpill)};
    }

    bool Clear(const QRect& ink) const {
        if (!m_parentRect.contains(ink))
            return false;
        return std::none_of(m_windowed.begin(), m_windowed.end(),
                            [&](const QRect& w) { return w.intersects(ink); });
    }

    bool FitsAsDesigned(const QFontMetrics& metrics) const {
        const QRect rect = m_label.geometry();
        const QRect room = LayoutRect(rect, metrics);
        const auto [box, ink] = Text(room, metrics);
        const QRect shown = room.contains(box) ? rect : room;
        return shown.contains(ink) && Clear(ink);
    }

    // Grows the room to hold the whole line box, so that nothing clips the
    // text but the label's own edges, and the label to hold the room and
    // all the ink. The text keeps its place where it can; where a windowed
    // control is in the way it moves by the least that clears it.
    bool Grow(const QFontMetrics& metrics) {
        const QRect rect = m_label.geometry();
        const QRect designedRoom = LayoutRect(rect, metrics);
        const QRect designedBox = Text(designedRoom, metrics).first;
        const Qt::Alignment a = m_label.alignment();
        const int width = std::max(designedRoom.width(), designedBox.width());
        const int height = std::max(designedRoom.height(), designedBox.height());
        const QRect room(
            GrownStart(designedRoom.left(), designedRoom.width(), width, HorizontalPlace(a)),
            GrownStart(designedRoom.top(), designedRoom.height(), height, VerticalPlace(a)), width,
            height);
        const auto [box, ink] = Text(room, metrics);
        const QMargins insets(designedRoom.left() - rect.left(), designedRoom.top() - rect.top(),
                              rect.right() - designedRoom.right(),
                              rect.bottom() - designedRoom.bottom());
        for (const QPoint& shift : Shifts()) {
            const QRect movedInk = ink.translated(shift);
            if (!Clear(movedInk))
                continue;
            const QRect movedRoom = room.translated(shift);
            const QRect label = movedRoom.marginsAdded(insets).united(movedInk);
            const QMargins extra(movedRoom.left() - label.left() - insets.left(),
                                 movedRoom.top() - label.top() - insets.top(),
                                 label.right() - movedRoom.right() - insets.right(),
                                 label.bottom() - movedRoom.bottom() - insets.bottom());
            m_label.setContentsMargins(m_label.contentsMargins() + extra);
            m_label.setGeometry(label);
            return true;
        }
        return false;
    }

    // No move first, then the smaller moves before the larger, up and left
    // before down and right.
    static const std::vector<QPoint>& Shifts() {
        static const std::vector<QPoint> shifts = [] {
            std::vector<QPoint> all;
            for (int dx = -kMaxShift; dx <= kMaxShift; ++dx)
                for (int dy = -kMaxShift; dy <= kMaxShift; ++dy)
                    all.emplace_back(dx, dy);
            std::stable_sort(all.begin(), all.end(), [](QPoint p, QPoint q) {
                const int a = std::abs(p.x()) + std::abs(p.y());
                const int b = std::abs(q.x()) + std::abs(q.y());
                if (a != b)
                    return a < b;
                return p.x() + p.y() < q.x() + q.y();
            });
            return all;
        }();
        return shifts;
    }

    QLabel& m_label;
    QRect m_parentRect;
    std::vector<QRect> m_windowed;
};

void ApplyTo(QWidget& widget) {
    const QVariant family = widget.property("fontFamily");
    const QVariant height = widget.property("fontHeight");
    const QVariant bold = widget.property("fontBold");
    const QVariant italic = widget.property("fontItalic");
    if (family.isValid() || height.isValid() || bold.isValid() || italic.isValid()) {
        // The font the widget inherits at this point is its parent's, already styled.
        QFont font = widget.font();
        if (family.isValid())
            font.setFamily(family.toString());
        if (height.isValid())
            font.setPixelSize(height.toInt());
        if (bold.isValid())
            font.setBold(bold.toBool());
        if (italic.isValid())
            font.setItalic(italic.toBool());
        widget.setFont(font);
    }
    const QVariant colour = widget.property("textColour");
    if (colour.isValid())
        SetTextColour(widget, colour.value<QColor>());
    // A colour of its own, not a style sheet: a style sheet would cut the
    // widget off from the font it inherits.
    const QVariant background = widget.property("backgroundColour");
    if (background.isValid()) {
        QPalette palette = widget.palette();
        palette.setColor(QPalette::Window, background.value<QColor>());
        widget.setPalette(palette);
        widget.setAutoFillBackground(true);
    }
    // A panel paints its own colour over whatever lies below it.
    if (IsPanel(widget))
        widget.setAutoFillBackground(true);
    if (auto* label = qobject_cast<QLabel*>(&widget))
        TextFit(*label).Run();
    StackGraphicControlsBelow(widget);
    widget.installEventFilter(&GraphicStacking::Instance());
    for (QObject* child : widget.children()) {
        if (child->isWidgetType())
            ApplyTo(*static_cast<QWidget*>(child));
    }
}

} // namespace

QFont DesignedFont(const char* family, int pixels, bool bold, bool italic) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void SetTextColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget.setPalette(palette);
}

void ApplyDesignedStyle(QWidget& root, const char* family, int height, bool bold) {
    root.setFont(DesignedFont(family, height, bold));
    ApplyTo(root);
}
