#include "ui/test_window.h"

#include "ui/designed_style.h"
#include "ui/form1.h"
#include "ui/handler_guard.h"
#include "ui/window_frame.h"
#include "ui/window_references.h"

#include "ui_test.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>

namespace {

constexpr QSize kOuterSize{503, 567};

void SetVerdict(QLabel& square, const QString& text, const QColor& colour) {
    square.setText(text);
    QPalette p = square.palette();
    // All colour groups: an answered question's panel is disabled, and its
    // square must keep the verdict's colours.
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::WindowText, QColor(255, 255, 0));
    square.setPalette(p);
}

QPoint DesktopCentre(QSize outer) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {0, 0};
    const QRect desktop = screen->geometry();
    return {desktop.x() + (desktop.width() - outer.width()) / 2,
            desktop.y() + (desktop.height() - outer.height()) / 2};
}

} // namespace

TTest::TTest(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TTest>()), m_timer(new QTimer(this)) {
    ui->setupUi(this);
    SetDesignedFrame(*this, DesktopCentre(kOuterSize), kOuterSize, CaptionBoxes::Close);
    setWindowIcon(QIcon(QStringLiteral(":/pictures/test_icon.png")));
    QPalette silver = palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(silver);
    setAutoFillBackground(true);
    ui->ScrollContent->setAutoFillBackground(false);
    // An answered question is locked by disabling its panel, but it stays as
    // readable as before: the disabled colours are the normal ones.
    QPalette locked = ui->ScrollContent->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                     QPalette::Button, QPalette::Base, QPalette::Window})
        locked.setColor(QPalette::Disabled, role, locked.color(QPalette::Active, role));
    ui->ScrollContent->setPalette(locked);
    ui->ScrollContent->setMinimumSize(ui->ScrollContent->width(), kContentHeight);
    ui->ScrollContent->setMaximumHeight(kContentHeight);

    const QColor navy(0, 0, 128);
    ui->Label2->setFont(DesignedFont("Bookman Old Style", 24, true));
    ui->Label3->setFont(DesignedFont("Bookman Old Style", 16));
    for (QLabel* label : {ui->Label2, ui->Label3}) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, navy);
        label->setPalette(p);
    }

    ApplyDesignedStyle(*this, "MS Sans Serif", 11, false);

    m_questions = {{
        {ui->Panel1,
         ui->Answer1,
         ui->Button1,
         ui->RadioButton2,
         {ui->RadioButton1, ui->RadioButton2}},
        {ui->Panel3,
         ui->Answer2,
         ui->Button2,
         ui->RadioButton4,
         {ui->RadioButton3, ui->RadioButton4}},
        {ui->Panel5,
         ui->Answer3,
         ui->Button3,
         ui->RadioButton5,
         {ui->RadioButton6, ui->RadioButton7, ui->RadioButton5}},
        {ui->Panel7,
         ui->Answer4,
         ui->Button4,
         ui->RadioButton8,
         {ui->RadioButton8, ui->RadioButton9}},
        {ui->Panel9,
         ui->Answer5,
         ui->Button5,
         ui->RadioButton10,
         {ui->RadioButton10, ui->RadioButton11}},
        {ui->Panel11,
         ui->Answer6,
         ui->Button6,
         ui->RadioButton13,
         {ui->RadioButton12, ui->RadioButton13, ui->RadioButton14}},
    }};
    for (const Question& q : m_questions) {
        q.verdict->setFont(DesignedFont("MS Sans Serif", 11));
        SetVerdict(*q.verdict, QString(), QColor(128, 128, 128));
    }
    connect(ui->Button1, &QPushButton::clicked, this, Guarded(this, &TTest::Button1Click));
    connect(ui->Button2, &QPushButton::clicked, this, Guarded(this, &TTest::Button2Click));
    connect(ui->Button3, &QPushButton::clicked, this, Guarded(this, &TTest::Button3Click));
    connect(ui->Button4, &QPushButton::clicked, this, Guarded(this, &TTest::Button4Click));
    connect(ui->Button5, &QPushButton::clicked, this, Guarded(this, &TTest::Button5Click));
    connect(ui->Button6, &QPushButton::clicked, this, Guarded(this, &TTest::Button6Click));

    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, Guarded(this, &TTest::TimerTimer));
}

TTest::~TTest() = default;

void TTest::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Restoring a minimised window is no new attempt.
    if (!event->spontaneous())
        Form();
}

void TTest::Form() {
    m_timer->stop();
    m_answeredCount = 0;
    m_correctCount = 0;
    for (const Question& q : m_questions) {
        q.panel->setEnabled(true);
        SetVerdict(*q.verdict, QString(), QColor(128, 128, 128));
        for (QRadioButton* option : q.options) {
            // An exclusive group never lets its last checked button go.
            option->setAutoExclusive(false);
            option->setChecked(false);
            option->setAutoExclusive(true);
        }
    }
}

void TTest::Answer(int question) {
    const Question& q = m_questions.at(static_cast<std::size_t>(question));
    if (!q.panel->isEnabled())
        return; // answered already in this attempt
    if (q.correct->isChecked()) {
        SetVerdict(*q.verdict, QStringLiteral("Правильно"), QColor(0, 128, 0));
        ++m_correctCount;
    } else if (std::any_of(q.options.begin(), q.options.end(),
                           [](const QRadioButton* o) { return o->isChecked(); })) {
        SetVerdict(*q.verdict, QStringLiteral("Неверно!"), QColor(255, 0, 0));
    } else {
        return; // nothing chosen: the question stays open
    }
    q.panel->setEnabled(false);
    ++m_answeredCount;
    if (m_answeredCount == kQuestions)
        m_timer->start();
}

void TTest::TimerTimer() {
    // The timer is left running: later ticks repeat this without effect
    // until the next showing stops it.
    if (m_correctCount >= kPassMark && Form1 != nullptr) {
        Form1->Button1()->show();
        Form1->Button2()->show();
    }
    close();
}
