#include "ui/media_player.h"

#include "ui/handler_guard.h"
#include "ui/sound_output.h"

#include <QFile>
#include <QIcon>
#include <QMediaDevices>
#include <QToolButton>

namespace {

constexpr int kWidth = 141;
constexpr int kHeight = 25;
constexpr int kButtonWidth = 28; // the last takes the odd pixel
constexpr int kIconSize = 16;
constexpr int kWatchMs = 100;

struct ButtonLook {
    const char* name;
    const char* picture;
    const char* action; // the second line of the hint
};

// In the order of PlayerButton.
constexpr ButtonLook kLooks[] = {
    {"Play", ":/player/play.svg", "Воспроизведение"},
    {"Pause", ":/player/pause.svg", "Пауза"},
    {"Stop", ":/player/stop.svg", "Остановка"},
    {"Step", ":/player/step.svg", "Вперёд на секунду"},
    {"Back", ":/player/back.svg", "Назад на секунду"},
};

// A length as minutes and seconds, rounded up so a short sound is not 0:00.
QString Duration(std::chrono::milliseconds length) {
    const auto seconds = (length.count() + 999) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

TMediaPlayer::TMediaPlayer(QWidget* parent)
    : TMediaPlayer(parent, SteadyPlayerClock(), std::make_unique<SinkOutput>()) {
    auto* sink = static_cast<SinkOutput*>(m_output.get());
    sink->SetFailureHandler([this](std::string why) {
        m_model.OutputFailed(std::move(why));
        Refresh();
    });
    // A headset plugged in (or pulled out) while the program runs.
    auto* devices = new QMediaDevices(this);
    connect(devices, &QMediaDevices::audioOutputsChanged, this, [this] {
        m_model.RecheckOutput();
        Refresh();
    });
}

TMediaPlayer::TMediaPlayer(QWidget* parent, PlayerClock& clock, std::unique_ptr<AudioOutput> output)
    : QWidget(parent), m_output(std::move(output)), m_model(clock, *m_output) {
    setFixedSize(kWidth, kHeight);
    for (PlayerButton b : kPlayerButtons) {
        const auto i = static_cast<std::size_t>(b);
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(kLooks[i].name));
        button->setAccessibleName(QString::fromUtf8(kLooks[i].action));
        button->setIcon(QIcon(QString::fromLatin1(kLooks[i].picture)));
        button->setIconSize(QSize(kIconSize, kIconSize));
        button->setFocusPolicy(Qt::NoFocus);
        const int left = static_cast<int>(i) * kButtonWidth;
        button->setGeometry(left, 0, b == PlayerButton::Back ? kWidth - left : kButtonWidth,
                            kHeight);
        connect(button, &QToolButton::clicked, this, Guarded([this, b] { Press(b); }));
        m_buttons[i] = button;
    }
    m_watch.setInterval(kWatchMs);
    connect(&m_watch, &QTimer::timeout, this, Guarded(this, &TMediaPlayer::Refresh));
    Refresh();
}

TMediaPlayer::~TMediaPlayer() {
    // Silence first: the output must not pull from a model that is going.
    m_output->Stop();
}

QToolButton* TMediaPlayer::Button(PlayerButton button) const {
    return m_buttons[static_cast<std::size_t>(button)];
}

void TMediaPlayer::SetFileName(const QString& name) {
    m_fileName = name;
    if (name.isEmpty()) {
        SoundOpening none;
        none.error = {SoundProblem::Missing, "файл не задан"};
        m_model.Open(std::move(none));
    } else {
        m_model.Open(OpenSoundFile(QFile::encodeName(name).toStdString()));
    }
    Refresh();
}

void TMediaPlayer::Press(PlayerButton button) {
    m_model.Press(button);
    Refresh();
}

void TMediaPlayer::Refresh() {
    const PlayerState state = m_model.State();
    QString hint;
    if (state == PlayerState::Disabled) {
        const QString reason = QString::fromStdString(m_model.DisabledReason());
        hint = m_fileName.isEmpty() ? reason : m_fileName + QStringLiteral(": ") + reason;
    } else {
        hint = m_fileName + QStringLiteral(" — ") + Duration(m_model.Length());
    }
    setToolTip(hint);
    for (PlayerButton b : kPlayerButtons) {
        QToolButton* button = Button(b);
        button->setEnabled(m_model.IsEnabled(b));
        // A disabled button still shows its hint, which is where the reason is.
        button->setToolTip(state == PlayerState::Disabled
                               ? hint
                               : hint + QLatin1Char('\n') +
                                     QString::fromUtf8(kLooks[static_cast<std::size_t>(b)].action));
    }
    if (state == PlayerState::Playing)
        m_watch.start();
    else
        m_watch.stop();
}
