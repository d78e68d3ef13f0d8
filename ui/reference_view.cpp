#include "ui/reference_view.h"

#include "plot/fonts.h"
#include "reference/reference_record.h"

#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStringDecoder>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QUrl>

#include <cmath>

namespace {

// One look for every page, the way a printed hand-out of the course looks:
// a serif body, bold headings, figures centred with a caption under them.
constexpr auto kStyleSheet = R"(
p.h1 { font-size: 19px; font-weight: bold; color: #14306e; margin-bottom: 6px; }
p.h2 { font-size: 15px; font-weight: bold; color: #14306e; margin-top: 6px; margin-bottom: 2px; }
p { margin-top: 0px; margin-bottom: 4px; }
p.caption { font-size: 12px; font-style: italic; color: #333333; margin-bottom: 6px; }
p.formula { font-size: 15px; margin-top: 3px; margin-bottom: 5px; }
ul, ol { margin-top: 0px; margin-bottom: 4px; margin-left: 0px; -qt-list-indent: 1; }
li { margin-top: 0px; margin-bottom: 1px; }
td { padding: 2px; }
th { padding: 2px; background-color: #e8ecf4; }
)";

constexpr int kBodyPixelSize = 14;
constexpr int kDocumentMargin = 10;

QString ResourcePath(const QUrl& url) {
    if (url.scheme() == QLatin1String("qrc"))
        return QLatin1Char(':') + url.path();
    return url.toString();
}

} // namespace

ReferenceDocument::ReferenceDocument(QObject* parent) : QTextDocument(parent) {
    RegisterFontSubstitutions();
    QFont body(QStringLiteral("Times New Roman"));
    body.setPixelSize(kBodyPixelSize);
    setDefaultFont(body);
    setDefaultStyleSheet(QString::fromUtf8(kStyleSheet));
    setDocumentMargin(kDocumentMargin);
    setUndoRedoEnabled(false);
}

void ReferenceDocument::setData(const QByteArray& data, int width) {
    if (data.isEmpty())
        throw EStreamError("Stored document is empty");
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(data);
    if (decoder.hasError())
        throw EStreamError("Stored document is not UTF-8 text");

    setHtml(text);
    setTextWidth(width);
    // Every figure the text names must be among the resources, so that a
    // wrong name is an error now rather than a blank box on the page. The
    // figures themselves are drawn when the page is first laid out.
    for (QTextBlock block = begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString path = ResourcePath(QUrl(format.toImageFormat().name()));
            if (!QFile::exists(path))
                throw EStreamError(
                    ("Stored document names a missing figure " + path).toStdString());
        }
}

QVariant ReferenceDocument::loadResource(int type, const QUrl& name) {
    if (type != QTextDocument::ImageResource)
        return QTextDocument::loadResource(type, name);
    const QString path = ResourcePath(name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (!path.endsWith(QLatin1String(".svg")))
        return QImage::fromData(bytes);
    QSvgRenderer renderer(bytes);
    if (!renderer.isValid())
        return {};
    // Drawn once at the picture's own size, the page never scales, but in
    // as many pixels as the densest screen has there, so that it stays as
    // sharp as the text beside it; the document lays it out at its own size.
    const qreal density = qApp->devicePixelRatio();
    const QSize size = renderer.defaultSize();
    QImage image(static_cast<int>(std::ceil(size.width() * density)),
                 static_cast<int>(std::ceil(size.height() * density)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(density);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

ReferenceView::ReferenceView(const QByteArray& record, QSize naturalSize, QWidget* parent)
    : QWidget(parent) {
    const ReferenceRecord parsed = ParseReferenceRecord(record);
    m_document.setData(parsed.data, naturalSize.width());
    setFixedSize(naturalSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int ReferenceView::contentHeight() const {
    return static_cast<int>(std::ceil(m_document.size().height()));
}

void ReferenceView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    m_document.drawContents(&painter, event->rect());
}

void ReferenceView::mousePressEvent(QMouseEvent* event) {
    if (!m_dragOnPress || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setText(m_document.toPlainText());
    drag->setMimeData(mime);
    emit dragStarted();
    // Nothing in the program accepts the drop; the drag ends where it began.
    drag->exec(Qt::CopyAction);
}
