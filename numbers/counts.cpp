#include "numbers/counts.h"

#include <cmath>

#include "numbers/number_text.h"

namespace ambrelay {

Counts ReadCounts(const CountTexts& t)
{
    return {ReadNumber(t.views1), ReadNumber(t.responses1), ReadNumber(t.views2), ReadNumber(t.responses2)};
}

bool WholeCount(double x) { return std::floor(x) == x && std::fabs(x) <= 9007199254740992.0; }

}  // namespace ambrelay
