#include "designed_style.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace {

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
    if (colour.isValid()) {
        QPalette palette = widget.palette();
        const QColor c = colour.value<QColor>();
        palette.setColor(QPalette::WindowText, c);
        palette.setColor(QPalette::ButtonText, c);
        palette.setColor(QPalette::Text, c);
        widget.setPalette(palette);
    }
    if (auto* label = qobject_cast<QLabel*>(&widget)) {
        if (!label->wordWrap() && !(label->alignment() & Qt::AlignHCenter) &&
            label->pixmap().isNull()) {
            const QSize fit = label->sizeHint();
            label->resize(std::max(label->width(), fit.width()),
                          std::max(label->height(), fit.height()));
        }
    }
    for (QObject* child : widget.children()) {
        if (child->isWidgetType())
            ApplyTo(*static_cast<QWidget*>(child));
    }
}

} // namespace

void ApplyDesignedStyle(QWidget& root, const char* family, int height, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(height);
    font.setBold(bold);
    root.setFont(font);
    ApplyTo(root);
}
