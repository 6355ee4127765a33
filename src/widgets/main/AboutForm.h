#pragma once

#include <QDialog>

namespace kz {

class AboutForm : public QDialog {
    Q_OBJECT
public:
    explicit AboutForm(QWidget* parent = nullptr);
};

} // namespace kz
