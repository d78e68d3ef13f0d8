#pragma once

#include <QLabel>
#include <QString>

// A check mark laid over the left end of a button: a static text in the
// symbol font "Wingdings", green, hidden until the button has been pressed
// and then shown for good. The layouts keep the designed caption, the
// character 0xFC of the code page ("ь"), which that symbol font draws as a
// check mark; no such font exists here, so the mark shows the Unicode check
// mark (fonts.h) that the caption stands for.
class CheckMark : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString designedCaption READ DesignedCaption WRITE SetDesignedCaption)
public:
    explicit CheckMark(QWidget* parent = nullptr);

    QString DesignedCaption() const { return m_caption; }
    void SetDesignedCaption(const QString& caption);

    // Character height in pixels.
    void SetHeight(int pixels);

    // What the symbol font draws for a caption: the check mark for 0xFC,
    // anything else as it stands.
    static QString SymbolGlyph(const QString& caption);

private:
    QString m_caption;
};
