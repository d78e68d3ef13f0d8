#pragma once

#include "sound/player_model.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QAudioSink;

// The players' sound going to the machine's default sound device through
// QAudioSink in pull mode: the sink asks for blocks as its device needs
// them, and each block is decoded from the player's file there and then.
// Nothing touches the sound system until the first Start, so building a
// player costs no more than opening its file, and a machine without sound
// (a test runner, a lab computer without a card) only ever sees a refusal.
class SinkOutput : public QObject, public AudioOutput {
    Q_OBJECT
public:
    explicit SinkOutput(QObject* parent = nullptr);
    ~SinkOutput() override;

    std::optional<std::string> CannotPlay(const SoundFormat& format) const override;
    std::optional<std::string> Start(BlockSource& source, const SoundFormat& format) override;
    void Stop() override;

    // Called with the reason when the device fails while playing.
    void SetFailureHandler(std::function<void(std::string)> handler) {
        m_onFailure = std::move(handler);
    }

private:
    void SinkStateChanged();

    QPointer<QAudioSink> m_sink;
    bool m_starting = false;
    std::function<void(std::string)> m_onFailure;
};

// The reason a machine cannot play sound, or nothing: no output device at all.
std::optional<std::string> NoSoundDeviceReason();
