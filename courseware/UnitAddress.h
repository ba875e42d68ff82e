// The place of one unit in the course tree, and the header line that opens it in its question
// file.
#pragma once

#include <string>

namespace sulkan {

// Lesson, section and unit count from 1; similar 0 is the unit itself, n its n-th similar problem.
struct UnitAddress {
    int lesson = 0, section = 0, unit = 0, similar = 0;

    friend bool operator==(const UnitAddress&, const UnitAddress&) = default;
};

// "R" + n, or empty for the unit itself (n = 0).
std::string SimilarSuffix(int n);

// "[[unit" + unit + similar suffix, e.g. "[[unit3R2".
std::string UnitHeaderOf(const UnitAddress& address);

}  // namespace sulkan
