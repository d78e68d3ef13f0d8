// At any display scale the pictures of every window are drawn from their
// vector sources at the pixel density of the screen, never as a bitmap of
// one pixel a pixel blown up. The cases hold at 100 % as well; ctest runs
// them a second time with QT_SCALE_FACTOR=2, where a blown-up bitmap shows.

#include "tests/ui/gui_test_app.h"
#include "ui/csp.h"
#include "ui/dinamic.h"
#include "ui/form1.h"
#include "ui/help.h"
#include "ui/jon.h"
#include "ui/mes.h"
#include "ui/reference_page.h"
#include "ui/reference_view.h"
#include "ui/test_window.h"
#include "ui/vosp.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class ScaleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { GuiTestApp(); }
};

TEST_F(ScaleTest, PicturesAreDrawnAtTheirWindowsPixelDensity) {
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<TForm1>());
    windows.push_back(std::make_unique<TCSP>());
    windows.push_back(std::make_unique<Tmes>());
    windows.push_back(std::make_unique<TVOSP>());
    windows.push_back(std::make_unique<TDinamic>());
    windows.push_back(std::make_unique<Tjon>());
    windows.push_back(std::make_unique<THelp>());
    windows.push_back(std::make_unique<TTest>());
    int pictures = 0;
    for (const auto& window : windows) {
        window->show();
        for (QLabel* label : window->findChildren<QLabel*>()) {
            const QPixmap picture = label->pixmap();
            if (picture.isNull())
                continue;
            ++pictures;
            const std::string name = std::string(window->metaObject()->className()) + "." +
                                     label->objectName().toStdString();
            const qreal density = label->devicePixelRatioF();
            EXPECT_EQ(picture.devicePixelRatio(), density) << name;
            // A stretched picture is drawn for its label's size, pixel for pixel.
            if (label->hasScaledContents()) {
                EXPECT_EQ(picture.size(), label->contentsRect().size() * density) << name;
            }
        }
        window->hide();
    }
    // The main menu's picture, the brace and two arrows of each workbench's
    // instructions, the dynamic model's three arrows and its cable.
    EXPECT_EQ(pictures, 11);
}

TEST_F(ScaleTest, ReferenceFiguresAreDrawnAtTheScreensPixelDensity) {
    ReferenceView view(ReadStoredRecord(":/docs/help_line_path.bdoc"), QSize(548, 949));
    const qreal density = qApp->devicePixelRatio();
    QImage page(view.size() * density, QImage::Format_RGB32);
    page.setDevicePixelRatio(density);
    view.render(&page);
    int figures = 0;
    for (QTextBlock block = view.document().begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            const QImage figure =
                view.document().resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
            ASSERT_FALSE(figure.isNull()) << name.toStdString();
            ++figures;
            EXPECT_EQ(figure.devicePixelRatio(), density) << name.toStdString();
            // Laid out at the figure's own size, whatever the density.
            QSvgRenderer source(QStringLiteral(":") + QUrl(name).path());
            EXPECT_EQ(figure.deviceIndependentSize(), QSizeF(source.defaultSize()))
                << name.toStdString();
        }
    EXPECT_GE(figures, 1);
}

} // namespace
