#pragma once
// The details of a finished calculation as rows of a table: a name and the
// figure in words, each figure with the digits it can honestly claim.

#include <string>
#include <vector>

#include "engine/judge.h"

namespace ambrelay {

struct DetailRow {
    std::string name;
    std::string value;
};

// Empty for a judgement that did not finish.
std::vector<DetailRow> DetailRows(const Judgement& judgement);

}  // namespace ambrelay
