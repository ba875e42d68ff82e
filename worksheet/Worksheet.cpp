#include "Worksheet.h"

#include <cmath>

#include "TextRoutines.h"

namespace sulkan {

int Worksheet::sheetHeight() const {
    return static_cast<int>(RoundHalfEven(params.PaperWidth * std::sqrt(2.0)));
}

}  // namespace sulkan
