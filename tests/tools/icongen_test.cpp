#include "tools/icongen/icon_render.h"

#include <QColor>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const QString kProgramIcon = QStringLiteral(LC_SOURCE_DIR "/resources/pictures/program_icon.svg");

// At every size of the icon theme the square is filled, its rounded corners
// are see-through, and the brown ground is the artwork's own colour.
TEST(RenderIcon, EveryThemeSizeIsTheArtworkOnATransparentSquare) {
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage icon = RenderIcon(kProgramIcon, size);
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel());
        // At 16 pixels the corner's radius is two pixels, and the smoothed
        // edge covers a little of the corner pixel; from 32 on it is clear.
        const int cornerAlpha = size < 32 ? 64 : 0;
        EXPECT_LE(qAlpha(icon.pixel(0, 0)), cornerAlpha);
        EXPECT_LE(qAlpha(icon.pixel(size - 1, size - 1)), cornerAlpha);
        // Lower right, away from the strokes: the ground, #4a3420.
        const QColor ground = icon.pixelColor(size * 26 / 32, size * 27 / 32);
        EXPECT_EQ(ground.alpha(), 255);
        EXPECT_LE(std::abs(ground.red() - 0x4a), 2);
        EXPECT_LE(std::abs(ground.green() - 0x34), 2);
        EXPECT_LE(std::abs(ground.blue() - 0x20), 2);
        // The light pulse on the fibre, centred at (20, 12.5) of 32.
        EXPECT_GT(qGray(icon.pixel(size * 20 / 32, size * 25 / 64)), 200);
    }
}

TEST(RenderIcon, NoImageForAMissingOrDamagedFileOrAnEmptySize) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString damaged = folder.filePath(QStringLiteral("damaged.svg"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<svg xmlns=\"http://www.w3.org/2000/svg\"><rect");
    file.close();
    EXPECT_TRUE(RenderIcon(folder.filePath(QStringLiteral("missing.svg")), 32).isNull());
    EXPECT_TRUE(RenderIcon(damaged, 32).isNull());
    EXPECT_TRUE(RenderIcon(kProgramIcon, 0).isNull());
    EXPECT_TRUE(RenderIcon(kProgramIcon, -16).isNull());
}

} // namespace
