#pragma once
// The logarithm of the gamma function for positive arguments, safe to call
// from several threads at once: the command line judges rows in parallel, and
// std::lgamma writes the C library's global sign variable on every call.

#include <cmath>

namespace ambrelay {

inline double LogGamma(double x)
{
#if defined(__GLIBC__)
    int sign = 0;
    return ::lgamma_r(x, &sign);
#else
    return std::lgamma(x);
#endif
}

}  // namespace ambrelay
