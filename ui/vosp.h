#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TVOSP;
}

// FOTS line-code workbench (its frame and closing button so far).
class TVOSP : public QWidget {
    Q_OBJECT
public:
    explicit TVOSP(QWidget* parent = nullptr);
    ~TVOSP() override;

public slots:
    void Button5Click();

private:
    std::unique_ptr<Ui::TVOSP> ui;
};
