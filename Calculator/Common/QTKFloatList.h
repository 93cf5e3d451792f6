// A growable list of doubles: values per element edge or per line segment.
#pragma once

#include <vector>

class TFloatList {
public:
    // Appends a value; a full list grows by five places (the lists stay short).
    void Add(double value);
    // The value at Index; an index outside 0..Count-1 is an assertion failure.
    double Get(int index) const;
    int Count() const noexcept { return count_; }
    int Capacity() const noexcept { return static_cast<int>(items_.size()); }

private:
    std::vector<double> items_;  // its size is the capacity
    int count_ = 0;
};
