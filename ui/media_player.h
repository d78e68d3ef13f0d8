#pragma once

#include <QString>
#include <QWidget>

// The sound player control of the FOTS workbench, 141 × 25: the buttons
// Play, Pause, Stop, Step and Back for one sound file. The layout data names
// the file by the dynamic property "FileName" (a bare name, looked up in the
// folder the program started in); the player opens it as soon as the name is
// set, that is when its window is built, and keeps it open for the run.
class TMediaPlayer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
public:
    explicit TMediaPlayer(QWidget* parent = nullptr);
    ~TMediaPlayer() override;

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& name);

private:
    QString m_fileName;
};
