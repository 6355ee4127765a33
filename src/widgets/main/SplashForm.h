#pragma once

#include <QWidget>

namespace kz {

// Shown while the windows of the program are created.
class SplashForm : public QWidget {
    Q_OBJECT
public:
    explicit SplashForm(QWidget* parent = nullptr);
};

} // namespace kz
