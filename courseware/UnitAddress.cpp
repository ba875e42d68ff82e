#include "UnitAddress.h"

#include "TextRoutines.h"

namespace sulkan {

std::string SimilarSuffix(int n) {
    return n == 0 ? std::string() : std::string("R").append(IntText(n));
}

std::string UnitHeaderOf(const UnitAddress& address) {
    return "[[unit" + IntText(address.unit) + SimilarSuffix(address.similar);
}

}  // namespace sulkan
