#include "ui/help.h"

#include "ui/designed_style.h"
#include "ui/handler_guard.h"
#include "ui/reference_page.h"
#include "ui/reference_view.h"
#include "ui/window_frame.h"
#include "ui_help.h"

#include <QFont>

namespace {

// Tab order; every document lies at the top left of its area, which starts
// at the top.
const ReferencePage kPages[] = {
    {":/docs/help_line_path.bdoc", {548, 949}, {0, 0}, 0},
    {":/docs/help_requirements.bdoc", {548, 986}, {0, 0}, 0},
    {":/docs/help_nrz.bdoc", {585, 607}, {0, 0}, 0},
    {":/docs/help_bil.bdoc", {585, 497}, {0, 0}, 0},
    {":/docs/help_cmi.bdoc", {585, 423}, {0, 0}, 0},
    {":/docs/help_ep1.bdoc", {585, 551}, {0, 0}, 0},
    {":/docs/help_literature.bdoc", {582, 268}, {0, 0}, 0},
};
constexpr int kRequirementsPage = 1;

} // namespace

THelp::THelp(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::Help>()) {
    m_ui->setupUi(this);
    SetDesignedFrame(*this, {119, 81}, {612, 423}, CaptionBoxes::Close);

    const QFont font = DesignedFont("Bookman Old Style", 16, true);

    QScrollArea* const areas[] = {m_ui->ScrollBox1, m_ui->ScrollBox2, m_ui->ScrollBox3,
                                  m_ui->ScrollBox4, m_ui->ScrollBox5, m_ui->ScrollBox6,
                                  m_ui->ScrollBox7};
    for (std::size_t i = 0; i < std::size(kPages); ++i) {
        ReferenceView* view = InstallReferencePage(*areas[i], kPages[i]);
        view->setDragOnPress(i == kRequirementsPage);
    }
    SetUpReferenceTabs(*m_ui->PageControl1->tabBar());

    // The asterisk lies over the left end of "Закрыть" and swallows clicks
    // there: a click on it does not press the button.
    QFont star = font;
    star.setPixelSize(19);
    m_ui->StaticText4->setFont(star);
    QPalette palette = m_ui->StaticText4->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    m_ui->StaticText4->setPalette(palette);
    ApplyDesignedStyle(*this, "Bookman Old Style", 16, true);

    connect(m_ui->Button1, &QPushButton::clicked, this, Guarded(this, &THelp::Button1Click));
}

THelp::~THelp() = default;

void THelp::Button1Click() {
    close();
}
