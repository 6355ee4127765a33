#pragma once

#include <QWidget>

class QToolButton;

namespace kz {

// An up/down pair beside a numeric input, bound to that input with one fixed step. A click
// first moves the focus to the input; holding a button repeats the click.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    SpinButton(QWidget* associate, double step, QWidget* parent = nullptr);

    QWidget* associate() const { return associate_; }
    double step() const { return step_; }
    // Changes the step and its hint "Изменение значения параметра на <step>".
    void setStep(double step);
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }
    // Connects the pair to SpinStepUp / SpinStepDown with its own step.
    void useDefaultSteps();

signals:
    void upClicked();
    void downClicked();

private:
    QWidget* associate_;
    double step_;
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace kz
