#pragma once

// The printed guide's figures as text objects: each is drawn straight into
// the page, so that the PDF holds vectors and text rather than pictures of
// them.

#include "tools/linecode/handout_content.h"

#include <QObject>
#include <QTextFormat>
#include <QTextObjectInterface>

inline constexpr int kFigureObject = QTextFormat::UserObject + 1;
// The index of the figure among HandoutContent::figures.
inline constexpr int kFigureIndex = QTextFormat::UserProperty + 1;

class FigureObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    explicit FigureObject(const HandoutContent& content) : m_content(content) {}

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override;

private:
    const HandoutFigure& FigureOf(const QTextFormat& format) const;

    const HandoutContent& m_content;
};
