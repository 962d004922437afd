#pragma once
// A file of one row per user compared: read through the one table reader,
// summarised, capped where asked, and every version compared with the
// control (two versions as every two-version door has always compared
// them). Every door that opens such a file (the command line, the averages
// window) takes this answer and only renders it.

#include <atomic>
#include <istream>

#include "answers/summaries_answer.h"
#include "answers/versions_answer.h"
#include "tables/values_reading.h"

namespace ambrelay {

struct ValuesRequest {
    tables::ValuesLayout layout;  // its control is the first version
    MeansOptions options;         // `ratios` follows the layout
    VersionsOptions family;       // the correction and the shares of more than two versions
};

struct ValuesAnswer {
    ValuesRequest request;
    tables::ValuesRead read;  // the labels, the blanks, the caps and the rows left out
    Outcome<MeansVersionsAnswer> versions = Reason::NoValueRows;  // every version against the control, or why not

    // Two versions' one comparison; nothing for more, or for none.
    const MeansAnswer* Pair() const
    {
        return versions && versions->Versions() == 2 ? &versions->comparisons.front().answer : nullptr;
    }
};

// The file's answer, or why it has none (it cannot be read as a file of
// values, or the control asked for is not in it). Rows that hold no two
// versions are an answer whose comparison says why, beside the rows left out.
// `stop`, when set, ends the reading early with ReadingStopped.
Outcome<ValuesAnswer> CompareValuesFile(std::istream& in, const ValuesRequest& request,
                                        const std::atomic<bool>* stop = nullptr);

// The same values compared again under other options (which way is better,
// the intended split), without reading the file again.
ValuesAnswer Recompared(ValuesAnswer answer, const MeansOptions& options, const VersionsOptions& family);

}  // namespace ambrelay
