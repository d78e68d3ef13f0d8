#pragma once

#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QLabel;
class QRadioButton;
class QPushButton;
class QShowEvent;
class QTimer;

namespace Ui {
class TTest;
}

// The admission test: six multiple-choice questions; four or more right
// answers reveal the workbench buttons of the main menu.
class TTest : public QWidget {
    Q_OBJECT
public:
    static constexpr int kQuestions = 6;
    static constexpr int kPassMark = 4;
    static constexpr int kContentHeight = 1117;

    explicit TTest(QWidget* parent = nullptr);
    ~TTest() override;

    int CorrectCount() const { return m_correctCount; }
    int AnsweredCount() const { return m_answeredCount; }
    QTimer& Timer() const { return *m_timer; }

public slots:
    // Activation: a fresh attempt each time the window is shown.
    void Form();
    void Button1Click() { Answer(0); }
    void Button2Click() { Answer(1); }
    void Button3Click() { Answer(2); }
    void Button4Click() { Answer(3); }
    void Button5Click() { Answer(4); }
    void Button6Click() { Answer(5); }
    void TimerTimer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Question {
        QWidget* panel;
        QLabel* verdict;
        QPushButton* button;
        QRadioButton* correct;
        std::vector<QRadioButton*> options;
    };

    void Answer(int question);

    std::unique_ptr<Ui::TTest> ui;
    std::array<Question, kQuestions> m_questions{};
    QTimer* m_timer;
    int m_correctCount = 0;
    int m_answeredCount = 0;
};
