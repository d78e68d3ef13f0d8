#pragma once

#include <QString>
#include <QWidget>

#include <memory>

class QPushButton;
class QResizeEvent;

namespace Ui {
class TForm1;
}

// The information panel's memo holds at most this many characters, line
// breaks counted as the two characters CR LF. A quarter of a mebibyte is far
// more than any description of the program needs and keeps the memo quick to
// lay out; a larger file is refused before a byte of it is read.
inline constexpr qint64 kMemoCapacity = 256 * 1024;

// The file the information panel shows, found by its relative name in the
// working directory.
inline const QString kInformationFileName = QStringLiteral("Data001.txt");

// Reads `fileName` as code page 1251 text, with every line break (CR LF, a
// lone LF, a lone CR) turned into CR LF. Throws std::runtime_error with
// "Cannot open file <name>" when it cannot be opened or read, and with "Text
// exceeds memo capacity" when the text would not fit into the memo.
QString ReadInformationText(const QString& fileName);

// The main menu, the program's main window.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The two workbench buttons, hidden until the admission test is passed.
    QPushButton* Button1() const;
    QPushButton* Button2() const;

    // The memo's text with CR LF line breaks.
    QString MemoText() const;

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Label3Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TForm1> ui;
};
