#include "ui/reference_page.h"

#include "reference/reference_record.h"
#include "ui/reference_view.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>

#include <memory>

namespace {

class InitialScroll : public QObject {
public:
    InitialScroll(QScrollArea& area, int offset) : QObject(&area), m_offset(offset) {
        area.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* area = static_cast<QScrollArea*>(watched);
            // setValue clamps to the range, which is what a too-large offset
            // needs. The range may still change once the newly shown page has
            // been laid out, so the offset is applied again after that.
            area->verticalScrollBar()->setValue(m_offset);
            QMetaObject::invokeMethod(
                area, [area, offset = m_offset] { area->verticalScrollBar()->setValue(offset); },
                Qt::QueuedConnection);
            area->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    int m_offset;
};

class TabHotTracker : public QObject {
public:
    explicit TabHotTracker(QTabBar& bar) : QObject(&bar), m_bar(bar) {
        bar.setMouseTracking(true);
        bar.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseMove:
            track(m_bar.tabAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
            break;
        case QEvent::Leave:
        case QEvent::Hide:
            track(-1);
            break;
        default:
            break;
        }
        return false;
    }

private:
    void track(int index) {
        if (index == m_hot)
            return;
        if (m_hot >= 0 && m_hot < m_bar.count())
            m_bar.setTabTextColor(m_hot, QColor()); // the style's own colour again
        m_hot = index;
        if (m_hot >= 0)
            m_bar.setTabTextColor(m_hot, kHotTrackColour);
    }

    QTabBar& m_bar;
    int m_hot = -1;
};

} // namespace

QByteArray ReadStoredRecord(const char* resource) {
    QFile file(QString::fromLatin1(resource));
    if (!file.open(QIODevice::ReadOnly))
        throw EStreamError(std::string("Stored document ") + resource + " is missing");
    return file.readAll();
}

ReferenceView* InstallReferencePage(QScrollArea& area, const ReferencePage& page) {
    // Owned here until the area takes it: a damaged record throws from the view.
    auto plane = std::make_unique<QWidget>();
    auto* view = new ReferenceView(ReadStoredRecord(page.resource), page.naturalSize, plane.get());
    view->move(page.offset);
    plane->resize(std::max(0, page.offset.x() + page.naturalSize.width()),
                  std::max(0, page.offset.y() + page.naturalSize.height()));
    area.setWidgetResizable(false);
    area.setWidget(plane.release());
    new InitialScroll(area, page.initialScroll);
    return view;
}

namespace {

// The tab captions were laid out for a narrower font with the slim padding of
// classic tabs; the free font and the style's roomier padding would push the
// last captions behind scroll arrows. This keeps the style's look and only
// narrows the space beside each caption.
class CompactTabStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace)
            return kReferenceTabSpace;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

void SetUpReferenceTabs(QTabBar& bar) {
    new TabHotTracker(bar);
    auto* style = new CompactTabStyle(QApplication::style()->name());
    style->setParent(&bar);
    bar.setStyle(style);
}
