#pragma once

#include <QWidget>

#include <memory>

class QResizeEvent;

namespace Ui {
class Tmes;
}

// The input error dialog: one fixed text restating the rule for a
// combination, and "ОК", which closes it.
class Tmes : public QWidget {
    Q_OBJECT
public:
    explicit Tmes(QWidget* parent = nullptr);
    ~Tmes() override;

public slots:
    void Button1Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::Tmes> ui;
};
