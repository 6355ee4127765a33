#pragma once

#include <QString>

namespace kz {

// Where the non-visual layers report to the user. The windows' dialog service implements it;
// tests and the batch mode record instead of showing.
class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void showMessage(const QString& text) = 0;
};

} // namespace kz
