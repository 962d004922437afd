#pragma once
// Boost.Math's distributions as the engine uses them: errors come back as
// NaN or infinity for the caller to turn into a failure value, never as an
// exception across the engine's boundary.

#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>

namespace ambrelay::stats {

using Policy = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::ignore_error>,
    boost::math::policies::pole_error<boost::math::policies::ignore_error>,
    boost::math::policies::overflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::underflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::evaluation_error<boost::math::policies::ignore_error>,
    boost::math::policies::rounding_error<boost::math::policies::ignore_error>>;

using Normal = boost::math::normal_distribution<double, Policy>;
using ChiSquared = boost::math::chi_squared_distribution<double, Policy>;
using Binomial = boost::math::binomial_distribution<double, Policy>;
using Beta = boost::math::beta_distribution<double, Policy>;

// The standard normal quantile: z with P(Z <= z) = probability.
inline double NormalQuantile(double probability) { return boost::math::quantile(Normal(), probability); }

// P(Z <= z) for the standard normal.
inline double NormalCdf(double z) { return boost::math::cdf(Normal(), z); }

}  // namespace ambrelay::stats
