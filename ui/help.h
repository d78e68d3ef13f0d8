#pragma once

#include <QWidget>

// FOTS reference window (frame only until its pages are built).
class THelp : public QWidget {
    Q_OBJECT
public:
    explicit THelp(QWidget* parent = nullptr);
};
