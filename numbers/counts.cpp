#include "numbers/counts.h"

#include "numbers/number_text.h"

namespace ambrelay {

Counts ReadCounts(const CountTexts& t)
{
    return {ReadNumber(t.views1), ReadNumber(t.responses1), ReadNumber(t.views2), ReadNumber(t.responses2)};
}

}  // namespace ambrelay
