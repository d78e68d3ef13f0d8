#include "ui/jon.h"

#include "ui/designed_style.h"
#include "ui/handler_guard.h"
#include "ui/reference_page.h"
#include "ui/window_frame.h"
#include "ui_jon.h"

#include <QFont>

namespace {

// Tab order; each page's document, where it lies in its area and where the
// area starts scrolled. "NRZ" and "КВП-3" open at the end of their documents
// (the offsets exceed the range), and on "АБС" the document's top rows lie
// above the area, out of reach.
const ReferencePage kPages[] = {
    {":/docs/jon_line_code.bdoc", {548, 773}, {24, 16}, 0},
    {":/docs/jon_nrz.bdoc", {548, 865}, {8, 0}, 558},
    {":/docs/jon_abs.bdoc", {551, 651}, {16, -8}, 0},
    {":/docs/jon_chpi.bdoc", {548, 627}, {16, 0}, 0},
    {":/docs/jon_kvp3.bdoc", {558, 929}, {8, 0}, 620},
};

} // namespace

Tjon::Tjon(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::jon>()) {
    m_ui->setupUi(this);
    SetDesignedFrame(*this, {110, 72}, {621, 419}, CaptionBoxes::CloseMinMax);

    ApplyDesignedStyle(*this, "Bookman Old Style", 16, true);

    QScrollArea* const areas[] = {m_ui->ScrollBox1, m_ui->ScrollBox2, m_ui->ScrollBox3,
                                  m_ui->ScrollBox4, m_ui->ScrollBox5};
    for (std::size_t i = 0; i < std::size(kPages); ++i)
        InstallReferencePage(*areas[i], kPages[i]);
    SetUpReferenceTabs(*m_ui->PageControl1->tabBar());

    connect(m_ui->Button1, &QPushButton::clicked, this, Guarded(this, &Tjon::Button1Click));
}

Tjon::~Tjon() = default;

void Tjon::Button1Click() {
    close();
}
