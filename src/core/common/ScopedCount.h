#pragma once

// Counts one more on a counter for as long as it lives: a hold on change handling while several
// values are set in a row, which the handling asks for by the counter being non-zero.
namespace kz {

class ScopedCount {
public:
    explicit ScopedCount(int& counter, bool counting = true) : counter_(counter), counting_(counting) {
        if (counting_)
            ++counter_;
    }
    ~ScopedCount() {
        if (counting_)
            --counter_;
    }
    ScopedCount(const ScopedCount&) = delete;
    ScopedCount& operator=(const ScopedCount&) = delete;

private:
    int& counter_;
    bool counting_;
};

} // namespace kz
