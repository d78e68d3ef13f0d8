#pragma once

#include <QByteArray>
#include <QSize>
#include <QTextDocument>
#include <QWidget>

// The text of a stored document: UTF-8 rich text in Qt's HTML subset, whose
// figures are SVG pictures of the program's resources named by qrc: URLs.
class ReferenceDocument : public QTextDocument {
    Q_OBJECT
public:
    explicit ReferenceDocument(QObject* parent = nullptr);

    // Lays `data` out at `width` pixels. Throws EStreamError when the data is
    // empty or not UTF-8, or when a figure it names is not among the resources.
    void setData(const QByteArray& data, int width);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
};

// Shows one stored document at a fixed size, the document's natural size,
// on white paper. With drag on press, pressing the mouse on the document
// starts a drag of its text that the program's controls do not accept.
class ReferenceView : public QWidget {
    Q_OBJECT
public:
    // Throws EStreamError for a damaged record or document.
    ReferenceView(const QByteArray& record, QSize naturalSize, QWidget* parent = nullptr);

    const ReferenceDocument& document() const { return m_document; }
    // The height the laid-out text needs; at most the natural height when the
    // document fits its page.
    int contentHeight() const;

    void setDragOnPress(bool on) { m_dragOnPress = on; }
    bool dragOnPress() const { return m_dragOnPress; }

signals:
    void dragStarted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ReferenceDocument m_document;
    bool m_dragOnPress = false;
};
