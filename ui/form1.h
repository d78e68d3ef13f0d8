#pragma once

#include "ui/information_text.h"

#include <QString>
#include <QWidget>

#include <memory>

class QPushButton;
class QResizeEvent;

namespace Ui {
class TForm1;
}

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
