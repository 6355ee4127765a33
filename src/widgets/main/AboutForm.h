#pragma once

#include <QDialog>

class QLabel;

namespace kz {

class AboutForm : public QDialog {
    Q_OBJECT
public:
    explicit AboutForm(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* dataFolder_ = nullptr;
};

} // namespace kz
