#pragma once
// The means and centred co-moment sums of a few variables a row, updated one
// row at a time (Welford's update) and merged (Chan's pairwise update), so
// that parts of a file, or partitions of a cluster, summarised apart add up
// to what one pass over the whole gives.

#include <array>
#include <cstddef>

namespace ambrelay {

template <std::size_t K>
class CoMoments {
public:
    void Add(const std::array<double, K>& x)
    {
        n_ += 1;
        std::array<double, K> before{};
        for (std::size_t i = 0; i < K; ++i) {
            before[i] = x[i] - mean_[i];
            mean_[i] += before[i] / n_;
        }
        for (std::size_t i = 0; i < K; ++i) {
            for (std::size_t j = 0; j < K; ++j) {
                c_[i * K + j] += before[i] * (x[j] - mean_[j]);
            }
        }
    }

    void Merge(const CoMoments& other)
    {
        if (other.n_ == 0) {
            return;
        }
        if (n_ == 0) {
            *this = other;
            return;
        }
        const double n = n_ + other.n_;
        std::array<double, K> delta{};
        for (std::size_t i = 0; i < K; ++i) {
            delta[i] = other.mean_[i] - mean_[i];
        }
        for (std::size_t i = 0; i < K; ++i) {
            for (std::size_t j = 0; j < K; ++j) {
                c_[i * K + j] += other.c_[i * K + j] + delta[i] * delta[j] * n_ * other.n_ / n;
            }
        }
        for (std::size_t i = 0; i < K; ++i) {
            mean_[i] += delta[i] * other.n_ / n;
        }
        n_ = n;
    }

    double Count() const { return n_; }
    double Mean(std::size_t i) const { return mean_[i]; }
    // The centred sum of products of variables i and j: (n - 1) times their covariance.
    double Sum(std::size_t i, std::size_t j) const { return c_[i * K + j]; }

    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(n_, mean_, c_);
    }

private:
    double n_ = 0;
    std::array<double, K> mean_{};
    std::array<double, K * K> c_{};
};

}  // namespace ambrelay
