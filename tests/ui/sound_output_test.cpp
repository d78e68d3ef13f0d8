#include "ui/sound_output.h"

#include "tests/ui/gui_test_app.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A sound of `frames` silent frames that counts what the sink takes.
class CountingSource : public BlockSource {
public:
    explicit CountingSource(std::int64_t frames) : m_left(frames) {}
    std::size_t ReadBlock(std::span<std::int16_t> samples) override {
        const auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(m_left, static_cast<std::int64_t>(samples.size() / 2)));
        std::fill_n(samples.begin(), n * 2, std::int16_t{0});
        m_left -= static_cast<std::int64_t>(n);
        taken += static_cast<std::int64_t>(n);
        return n;
    }
    std::int64_t taken = 0;

private:
    std::int64_t m_left;
};

// The real sink, on whatever the machine has: with no sound device (a test
// runner) both questions get the reason; with one, the sink pulls the whole
// sound through the control's stream and stops pulling when told.
TEST(SinkOutput, PlaysThroughTheDeviceOrSaysThereIsNone) {
    GuiTestApp();
    const SoundFormat format{22050, 2, 22050 / 4};
    SinkOutput output;
    CountingSource source(format.frames);
    if (QMediaDevices::audioOutputs().isEmpty()) {
        EXPECT_EQ(output.CannotPlay(format), "нет звукового устройства");
        EXPECT_EQ(output.Start(source, format), "нет звукового устройства");
        EXPECT_EQ(source.taken, 0);
        return;
    }
    EXPECT_EQ(output.CannotPlay(format), std::nullopt);
    ASSERT_EQ(output.Start(source, format), std::nullopt);
    QTRY_COMPARE_WITH_TIMEOUT(source.taken, format.frames, 5000);
    output.Stop();

    CountingSource longer(format.sampleRate * 60);
    ASSERT_EQ(output.Start(longer, format), std::nullopt);
    QTRY_VERIFY_WITH_TIMEOUT(longer.taken > 0, 5000);
    output.Stop();
    const std::int64_t taken = longer.taken;
    QTest::qWait(300);
    EXPECT_EQ(longer.taken, taken) << "a stopped output pulls nothing more";
}

} // namespace
