#pragma once

#include "sound/player_model.h"

#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>

class QToolButton;

// The sound player control of the FOTS workbench, 141 × 25: the buttons
// Play, Pause, Stop, Step and Back for one sound file. The layout data names
// the file by the dynamic property "FileName" (a bare name, looked up in the
// folder the program started in); the player opens it as soon as the name is
// set, that is when its window is built, and keeps it open for the run.
//
// A file that cannot be played, or a machine with no sound device, leaves
// the control in place with its buttons disabled and the reason in its
// hint; nothing else of the program notices. Only the control's own buttons
// start and stop it: it plays on while its window is hidden, and players do
// not know of one another.
class TMediaPlayer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
public:
    // Plays through the machine's default sound device.
    explicit TMediaPlayer(QWidget* parent = nullptr);
    // Plays through `output` by `clock` (the tests' silent output).
    TMediaPlayer(QWidget* parent, PlayerClock& clock, std::unique_ptr<AudioOutput> output);
    ~TMediaPlayer() override;

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& name);

    const PlayerModel& Model() const { return m_model; }
    QToolButton* Button(PlayerButton button) const;

private:
    void Press(PlayerButton button);
    // Buttons, hints and the end-of-sound watch from the model's state.
    void Refresh();

    std::unique_ptr<AudioOutput> m_output;
    PlayerModel m_model;
    QString m_fileName;
    std::array<QToolButton*, 5> m_buttons{};
    // Runs only while the sound plays, to notice its end.
    QTimer m_watch;
};
