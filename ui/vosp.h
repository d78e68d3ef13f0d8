#pragma once

#include "codes/line_code.h"

#include <QWidget>

#include <array>
#include <memory>

class QPushButton;
class TChart;

namespace Ui {
class TVOSP;
}

// The FOTS line-code workbench: a combination field, the code buttons with
// their check marks, and a content area with the instruction panel, one panel
// per code (signal and spectrum views, a sound player with its commentary)
// and the comparison of spectra; below, the buttons that open the dynamic
// model and the reference. Built once; everything in it survives hiding and
// showing. The players play by themselves: no handler here starts or stops
// one.
class TVOSP : public QWidget {
    Q_OBJECT
public:
    explicit TVOSP(QWidget* parent = nullptr);
    ~TVOSP() override;

    // Code buttons: mark the button, show one content panel, hide the others.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    // Forming ("Формирование"); Button20 of the instruction panel runs Button6Click.
    void Button6Click();
    void Button13Click();
    void Button15Click();
    void Button14Click();
    // View buttons, which take a formed panel's forming button's place: they
    // bring the signal view back, nothing more.
    void Button16Click();
    void Button17Click();
    void Button18Click();
    void Button19Click();
    // "Спектр"; Button21 of the instruction panel runs Button7Click.
    void Button7Click();
    void Button10Click();
    void Button12Click();
    void Button11Click();
    // "Сравнить".
    void Button9Click();
    // "Схема", "Справка" and "В меню".
    void Button22Click();
    void Button8Click();
    void Button5Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // What one code panel's handlers work on.
    struct CodePanel {
        LineCode code;
        QWidget* panel;
        QWidget* signalView;
        QWidget* spectrumView;
        TChart* signalChart;
        TChart* spectrumChart;
        QPushButton* forming;
        QPushButton* view;
    };

    void ShowContentPanel(QWidget* mark, QWidget* panel);
    void Form(const CodePanel& row);
    static void DrawSpectrum(const CodePanel& row);
    static void ShowSignalView(const CodePanel& row);

    std::unique_ptr<Ui::TVOSP> ui;
    std::array<CodePanel, 4> m_rows{};
};
