#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class jon;
}

// DTS reference window: the line path of a digital transmission system and
// one page for each of its line codes, shown by the DTS workbench's
// "Справка". Built once at start-up; closing only hides it, so the selected
// tab and the scroll positions are there again at the next showing.
class Tjon : public QWidget {
    Q_OBJECT
public:
    // Throws EStreamError when a stored document cannot be read.
    explicit Tjon(QWidget* parent = nullptr);
    ~Tjon() override;

    void Button1Click();

private:
    std::unique_ptr<Ui::jon> m_ui;
};
