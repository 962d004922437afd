#pragma once

#include <string>

#include "engine/zstat.h"

namespace ambrelay {

// One plain sentence for a calculation that has no defined result: what is
// wrong and what to change.
std::string CalcFailureMessage(ZStatFailureReason reason);

}  // namespace ambrelay
