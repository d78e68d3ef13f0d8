#pragma once

#include "codes/line_code.h"

#include <QWidget>

#include <array>
#include <memory>

class QPushButton;
class TChart;

namespace Ui {
class TCSP;
}

// The DTS line-code workbench: a combination field, the code buttons, and a
// content area with the instruction panel, one panel per code (signal and
// spectrum views) and the comparison of spectra. Built once; everything in it
// survives hiding and showing.
class TCSP : public QWidget {
    Q_OBJECT
public:
    explicit TCSP(QWidget* parent = nullptr);
    ~TCSP() override;

    // Code buttons: show one content panel, hide the others.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    // Forming ("Формирование"); Button20 of the instruction panel runs Button6Click.
    void Button6Click();
    void Button13Click();
    void Button15Click();
    void Button14Click();
    // Second forming buttons: bring the signal view back, nothing more.
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
    // "Справка" and "В меню".
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
        QPushButton* firstForming;
        QPushButton* secondForming;
    };

    void ShowContentPanel(QWidget* panel);
    void Form(const CodePanel& row);
    void DrawSpectrum(const CodePanel& row);
    static void ShowSignalView(const CodePanel& row);

    std::unique_ptr<Ui::TCSP> ui;
    std::array<CodePanel, 4> m_rows{};
};
