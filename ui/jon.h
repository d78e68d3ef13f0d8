#pragma once

#include <QWidget>

// DTS reference window (frame only until its pages are built).
class Tjon : public QWidget {
    Q_OBJECT
public:
    explicit Tjon(QWidget* parent = nullptr);
};
