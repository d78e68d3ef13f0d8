#include "ui/form1.h"

#include "ui/csp.h"
#include "ui/designed_style.h"
#include "ui/handler_guard.h"
#include "ui/modal.h"
#include "ui/test_window.h"
#include "ui/vosp.h"
#include "ui/window_frame.h"
#include "ui/window_references.h"

#include "ui_form1.h"

#include <QMouseEvent>

TForm1::TForm1(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TForm1>()) {
    ui->setupUi(this);
    SetDesignedFrame(*this, {125, 69}, {609, 417}, CaptionBoxes::Close);
    setWindowIcon(QIcon(QStringLiteral(":/pictures/program_icon.png")));

    ui->Label1->setFont(DesignedFont("Bookman Old Style", 24, true));
    ui->Label2->setFont(DesignedFont("Bookman Old Style", 21, false, true));
    SetTextColour(*ui->Label2, QColor(0, 0, 128));
    ui->Label3->setFont(DesignedFont("MS Sans Serif", 13));
    ui->Label4->setFont(DesignedFont("Bookman Old Style", 16));
    ui->Label5->setFont(DesignedFont("Bookman Old Style", 16));
    ui->Memo1->setFont(DesignedFont("Times New Roman", 16));
    ApplyDesignedStyle(*this, "Bookman Old Style", 16, true);
    // The placeholders only carry the grey captions of the hidden buttons.
    SetTextColour(*ui->BitBtn1, QColor(128, 128, 128));
    SetTextColour(*ui->BitBtn2, QColor(128, 128, 128));
    for (QFrame* panel : {ui->Panel1, ui->Panel2, ui->Panel3})
        panel->setLineWidth(1);

    connect(ui->Button1, &QPushButton::clicked, this, Guarded(this, &TForm1::Button1Click));
    connect(ui->Button2, &QPushButton::clicked, this, Guarded(this, &TForm1::Button2Click));
    connect(ui->Button3, &QPushButton::clicked, this, Guarded(this, &TForm1::Button3Click));
    connect(ui->Button4, &QPushButton::clicked, this, Guarded(this, &TForm1::Button4Click));
    connect(ui->Button5, &QPushButton::clicked, this, Guarded(this, &TForm1::Button5Click));
    ui->Label3->installEventFilter(this);

    ui->Button3->setFocus();
}

TForm1::~TForm1() = default;

QPushButton* TForm1::Button1() const {
    return ui->Button1;
}
QPushButton* TForm1::Button2() const {
    return ui->Button2;
}

QString TForm1::MemoText() const {
    // The raw text keeps no-break spaces, which toPlainText() would turn
    // into ordinary ones; blocks are separated by paragraph separators.
    QString text = ui->Memo1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return text;
}

void TForm1::Button1Click() {
    ui->Panel3->hide();
    ui->Panel2->show();
    if (CSP != nullptr)
        ShowModal(*CSP);
}

void TForm1::Button2Click() {
    ui->Panel3->hide();
    ui->Panel2->show();
    if (VOSP != nullptr)
        ShowModal(*VOSP);
}

void TForm1::Button3Click() {
    ui->Panel2->hide();
    ui->Panel3->show();
    const QString text = ReadInformationText(kInformationFileName);
    if (text != MemoText()) {
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        ui->Memo1->setPlainText(shown);
    }
}

void TForm1::Button4Click() {
    close();
}

void TForm1::Button5Click() {
    if (Test != nullptr)
        ShowModal(*Test);
}

void TForm1::Label3Click() {
    ui->Button1->show();
    ui->Button2->show();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The two title lines stretch with the window; everything else stays.
    ui->Label1->resize(width(), ui->Label1->height());
    ui->Label2->resize(width(), ui->Label2->height());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // A label has no click signal: a press and release of the left button
    // inside the credits line is its click.
    if (watched == ui->Label3 && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            ui->Label3->rect().contains(mouse->position().toPoint()))
            Label3Click();
    }
    return QWidget::eventFilter(watched, event);
}
