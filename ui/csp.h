#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TCSP;
}

// DTS line-code workbench (its frame and closing button so far).
class TCSP : public QWidget {
    Q_OBJECT
public:
    explicit TCSP(QWidget* parent = nullptr);
    ~TCSP() override;

public slots:
    void Button5Click();

private:
    std::unique_ptr<Ui::TCSP> ui;
};
