#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TDinamic;
}

// Animated model of the optical line path (its frame and closing button so far).
class TDinamic : public QWidget {
    Q_OBJECT
public:
    explicit TDinamic(QWidget* parent = nullptr);
    ~TDinamic() override;

public slots:
    void Button1Click();

private:
    std::unique_ptr<Ui::TDinamic> ui;
};
