#include "ui/media_player.h"

#include "tests/sound/sound_test_support.h"
#include "tests/ui/gui_test_app.h"

#include <QAudioDevice>
#include <QDir>
#include <QHelpEvent>
#include <QMediaDevices>
#include <QSvgRenderer>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace std::chrono_literals;
using B = PlayerButton;

// Players look their files up in the current folder, as the program does in
// the folder it starts in; each test works in a fresh one.
class MediaPlayerControl : public ::testing::Test {
protected:
    void SetUp() override {
        GuiTestApp();
        m_previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(m_folder.path().string())));
        WriteSound(m_folder / "NRZ.wav", 8000, 1, 24000); // three seconds
        WriteSound(m_folder / "BIL.wav", 8000, 2, 8000);  // one second
    }
    void TearDown() override { QDir::setCurrent(m_previous); }

    // A control with the silent output, its file set as the layout data sets it.
    std::unique_ptr<TMediaPlayer> Silent(const char* file, SilentOutput** output,
                                         QWidget* parent = nullptr) {
        auto silent = std::make_unique<SilentOutput>();
        *output = silent.get();
        auto player = std::make_unique<TMediaPlayer>(parent, m_clock, std::move(silent));
        EXPECT_TRUE(player->setProperty("FileName", QString::fromUtf8(file)));
        return player;
    }

    static std::string Enabled(const TMediaPlayer& player) {
        std::string names;
        for (PlayerButton b : kPlayerButtons) {
            if (player.Button(b)->isEnabled())
                names += (names.empty() ? "" : " ") + player.Button(b)->objectName().toStdString();
        }
        return names;
    }
    static void Click(TMediaPlayer& player, PlayerButton b) {
        QTest::mouseClick(player.Button(b), Qt::LeftButton);
    }
    static QString HintAt(QWidget* w) {
        QToolTip::hideText();
        const QPoint centre = w->rect().center();
        QHelpEvent event(QEvent::ToolTip, centre, w->mapToGlobal(centre));
        QApplication::sendEvent(w, &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    TempFolder m_folder;
    FakeClock m_clock;
    QString m_previous;
};

TEST_F(MediaPlayerControl, ButtonPicturesAreCompiledIn) {
    for (const char* name : {"play", "pause", "stop", "step", "back"}) {
        QSvgRenderer picture(QStringLiteral(":/player/%1.svg").arg(QLatin1String(name)));
        EXPECT_TRUE(picture.isValid()) << name;
    }
}

TEST_F(MediaPlayerControl, FiveButtonsInOrderAcrossItsWidth) {
    SilentOutput* output = nullptr;
    auto player = Silent("NRZ.wav", &output);
    EXPECT_EQ(player->size(), QSize(141, 25));
    EXPECT_EQ(player->FileName(), "NRZ.wav");
    int right = 0;
    const char* names[] = {"Play", "Pause", "Stop", "Step", "Back"};
    for (PlayerButton b : kPlayerButtons) {
        QToolButton* button = player->Button(b);
        EXPECT_EQ(button->objectName(), names[static_cast<int>(b)]);
        EXPECT_EQ(button->x(), right) << names[static_cast<int>(b)];
        EXPECT_EQ(button->height(), 25);
        EXPECT_FALSE(button->icon().isNull());
        right = button->geometry().right() + 1;
    }
    EXPECT_EQ(right, 141);
}

// Real clicks on the buttons: after each, the buttons a user can press.
TEST_F(MediaPlayerControl, ClicksFollowThePlayersStates) {
    SilentOutput* output = nullptr;
    auto player = Silent("NRZ.wav", &output);
    player->show();
    EXPECT_EQ(Enabled(*player), "Play Step");
    EXPECT_EQ(player->toolTip(), "NRZ.wav — 0:03");
    EXPECT_EQ(HintAt(player->Button(B::Play)), "NRZ.wav — 0:03\nВоспроизведение");

    const struct {
        PlayerButton click;
        std::chrono::milliseconds then; // the clock moves on after the click
        const char* enabled;
        bool sounding;
    } steps[] = {
        {B::Play, 1500ms, "Pause Stop Step Back", true},
        {B::Pause, 5s, "Play Stop Step Back", false},
        {B::Step, 0ms, "Play Stop Step Back", false}, // at 2.5 s
        {B::Step, 0ms, "Play Stop Back", false},      // at the end
        {B::Back, 0ms, "Play Stop Step Back", false}, // at 2 s
        {B::Stop, 0ms, "Play Step", false},
        {B::Back, 0ms, "Play Step", false}, // disabled: nothing happens
        {B::Play, 0ms, "Pause Stop Step Back", true},
        {B::Stop, 0ms, "Play Step", false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(player->Button(s.click)->objectName().toStdString());
        Click(*player, s.click);
        m_clock.Advance(s.then);
        EXPECT_EQ(Enabled(*player), s.enabled);
        EXPECT_EQ(output->Running(), s.sounding);
    }
    EXPECT_EQ(output->starts, 2);
}

TEST_F(MediaPlayerControl, PlaysOnWhileItsWindowIsHiddenAndNoticesTheEnd) {
    QWidget window;
    SilentOutput* output = nullptr;
    auto player = Silent("BIL.wav", &output, &window);
    window.show();
    Click(*player, B::Play);
    window.hide();
    m_clock.Advance(500ms);
    EXPECT_EQ(player->Model().State(), PlayerState::Playing);
    EXPECT_TRUE(output->Running());
    EXPECT_EQ(output->Pull(1).size(), 2u); // stereo: one frame, two samples

    // The control watches the sound while it plays and shows its end
    // without a click, hidden or not.
    m_clock.Advance(1s);
    QTRY_COMPARE(QString::fromStdString(Enabled(*player)), QStringLiteral("Play Stop Back"));
    window.show();
    EXPECT_EQ(Enabled(*player), "Play Stop Back");
}

TEST_F(MediaPlayerControl, StartingOnePlayerLeavesAnotherPlaying) {
    SilentOutput* first = nullptr;
    SilentOutput* second = nullptr;
    auto a = Silent("NRZ.wav", &first);
    auto b = Silent("BIL.wav", &second);
    a->show();
    b->show();
    Click(*a, B::Play);
    m_clock.Advance(200ms);
    Click(*b, B::Play);
    EXPECT_TRUE(first->Running());
    EXPECT_TRUE(second->Running());
    Click(*b, B::Stop);
    EXPECT_TRUE(first->Running());
    EXPECT_EQ(a->Model().Position(), 200ms);
}

// A file that cannot be played leaves the control in place, every button
// disabled and the file's name and the reason in the hint of each.
TEST_F(MediaPlayerControl, AFaultyFileGivesADisabledControlWithTheReason) {
    WriteBytes(m_folder / "CMI.wav", WavWithClaim(0xFFFFFFF0u, 8));
    WriteBytes(m_folder / "EP-1.wav", {});
    const struct {
        const char* file;
        const char* hint;
    } cases[] = {
        {"001.wav", "001.wav: нет такого файла"},
        {"EP-1.wav", "EP-1.wav: файл пуст"},
        {"CMI.wav", "CMI.wav: файл обрезан: заголовок обещает 4\u00A0294\u00A0967\u00A0280 байт "
                    "звука, в файле 8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        // The control as the layout data builds it, with the real output.
        TMediaPlayer player;
        player.setProperty("FileName", QString::fromUtf8(c.file));
        player.show();
        EXPECT_EQ(Enabled(player), "");
        EXPECT_EQ(player.toolTip(), QString::fromUtf8(c.hint));
        for (PlayerButton b : kPlayerButtons) {
            Click(player, b);
            EXPECT_EQ(HintAt(player.Button(b)), QString::fromUtf8(c.hint));
        }
        EXPECT_EQ(player.Model().State(), PlayerState::Disabled);
    }
}

// With the real output, a good file plays where the machine has a sound
// device; where it has none (the test runner) the control says so.
TEST_F(MediaPlayerControl, AMachineWithoutSoundDisablesTheControlWithTheReason) {
    TMediaPlayer player;
    player.setProperty("FileName", QStringLiteral("NRZ.wav"));
    if (QMediaDevices::audioOutputs().isEmpty()) {
        EXPECT_EQ(Enabled(player), "");
        EXPECT_EQ(player.toolTip(), "NRZ.wav: нет звукового устройства");
        EXPECT_TRUE(player.Model().HasFile());
    } else {
        EXPECT_EQ(Enabled(player), "Play Step");
        EXPECT_EQ(player.toolTip(), "NRZ.wav — 0:03");
    }
}

} // namespace
