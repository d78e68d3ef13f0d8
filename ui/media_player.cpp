#include "ui/media_player.h"

// For now the control only holds its place and its file name; playing comes
// with the player's model.
TMediaPlayer::TMediaPlayer(QWidget* parent) : QWidget(parent) {
    setFixedSize(141, 25);
}

TMediaPlayer::~TMediaPlayer() = default;

void TMediaPlayer::SetFileName(const QString& name) {
    m_fileName = name;
}
