#pragma once

namespace ambrelay {

// A confidence interval, in the unit of the figure it belongs to.
struct Interval {
    double low = 0.0;
    double high = 0.0;
};

}  // namespace ambrelay
