#include "ui/sound_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <cstring>
#include <vector>

namespace {

// The sink's view of one player: a read-only stream whose bytes are
// decoded from the player's file as the sink reads them. The sink reads on
// the thread it lives on, the user-interface thread, so the player's model
// needs no lock.
class PullDevice : public QIODevice {
public:
    PullDevice(BlockSource& source, int channels, QObject* parent)
        : QIODevice(parent), m_source(source), m_channels(channels) {}

    bool isSequential() const override { return true; }
    // Some backends ask before they read; there is always more until the
    // file runs out.
    qint64 bytesAvailable() const override {
        return (m_dry ? 0 : qint64{1} << 20) + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 frameBytes = qint64{2} * m_channels;
        const auto frames = static_cast<std::size_t>(maxSize / frameBytes);
        if (frames == 0 || m_dry)
            return 0;
        // Decoded into our own buffer: the sink's bytes need not be aligned
        // for 16-bit samples.
        m_block.resize(frames * static_cast<std::size_t>(m_channels));
        const std::size_t got = m_source.ReadBlock(m_block);
        m_dry = got == 0;
        const qint64 bytes = static_cast<qint64>(got) * frameBytes;
        std::memcpy(data, m_block.data(), static_cast<std::size_t>(bytes));
        return bytes;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    BlockSource& m_source;
    int m_channels;
    bool m_dry = false;
    std::vector<std::int16_t> m_block;
};

QAudioFormat ToQt(const SoundFormat& format) {
    QAudioFormat out;
    out.setSampleRate(format.sampleRate);
    out.setChannelCount(format.channels);
    out.setSampleFormat(QAudioFormat::Int16);
    return out;
}

std::string Describe(QAudio::Error error) {
    switch (error) {
    case QAudio::OpenError:
        return "звуковое устройство не открывается";
    case QAudio::IOError:
        return "ошибка вывода звука на устройство";
    case QAudio::FatalError:
        return "звуковое устройство отказало";
    default:
        return "звуковое устройство не работает";
    }
}

} // namespace

std::optional<std::string> NoSoundDeviceReason() {
    if (QMediaDevices::audioOutputs().isEmpty())
        return "нет звукового устройства";
    return std::nullopt;
}

SinkOutput::SinkOutput(QObject* parent) : QObject(parent) {}

SinkOutput::~SinkOutput() {
    Stop();
}

std::optional<std::string> SinkOutput::CannotPlay(const SoundFormat& format) const {
    if (std::optional<std::string> none = NoSoundDeviceReason())
        return none;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return "нет звукового устройства";
    if (!device.isFormatSupported(ToQt(format)))
        return "звуковое устройство не воспроизводит звук с частотой " +
               std::to_string(format.sampleRate) + "\u00A0Гц";
    return std::nullopt;
}

std::optional<std::string> SinkOutput::Start(BlockSource& source, const SoundFormat& format) {
    Stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return "нет звукового устройства";
    auto* sink = new QAudioSink(device, ToQt(format), this);
    auto* pull = new PullDevice(source, format.channels, sink);
    pull->open(QIODevice::ReadOnly);
    m_sink = sink;
    connect(sink, &QAudioSink::stateChanged, this, &SinkOutput::SinkStateChanged);
    // A refusal at once is answered here, not through the failure handler,
    // which would reach the player while it is still starting.
    m_starting = true;
    sink->start(pull);
    m_starting = false;
    if (sink->error() != QAudio::NoError && sink->error() != QAudio::UnderrunError) {
        const std::string why = Describe(sink->error());
        Stop();
        return why;
    }
    return std::nullopt;
}

void SinkOutput::Stop() {
    if (!m_sink)
        return;
    QAudioSink* sink = m_sink;
    m_sink = nullptr;
    sink->disconnect(this);
    sink->reset();
    sink->stop();
    // Not deleted here: Stop may run inside the sink's own signal.
    sink->deleteLater();
}

void SinkOutput::SinkStateChanged() {
    if (m_starting || !m_sink || sender() != m_sink)
        return;
    const QAudio::Error error = m_sink->error();
    // An underrun is the sink waiting for more, which at the end of the
    // file is the normal way for sound to finish.
    if (error == QAudio::NoError || error == QAudio::UnderrunError)
        return;
    const std::string why = Describe(error);
    Stop();
    if (m_onFailure)
        m_onFailure(why);
}
