#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class Help;
}

// FOTS reference window: the line path of a fibre-optic system, the
// requirements on its line codes, a page per code and the literature, shown
// by the FOTS workbench's "Справка". Built once at start-up; closing only
// hides it, so the selected tab and the scroll positions are kept.
class THelp : public QWidget {
    Q_OBJECT
public:
    // Throws EStreamError when a stored document cannot be read.
    explicit THelp(QWidget* parent = nullptr);
    ~THelp() override;

    void Button1Click();

private:
    std::unique_ptr<Ui::Help> m_ui;
};
