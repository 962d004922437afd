#include "engine/quantile_in_parts.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ambrelay {
namespace {

constexpr int kBucketShift = 64 - 20;

std::uint64_t KeyOf(double x) { return OrderKey(x == 0 ? -0.0 : x); }

}  // namespace

QuantilePlace PlaceOf(std::uint64_t counted, double probability)
{
    const double h = (static_cast<double>(counted) - 1) * probability;
    const double low = std::floor(h);
    return {static_cast<std::uint64_t>(low), h - low};
}

double Interpolated(double low, double high, double fraction)
{
    return fraction == 0 ? low : low + fraction * (high - low);
}

std::uint32_t BucketOf(double x) { return static_cast<std::uint32_t>(KeyOf(x) >> kBucketShift); }

void BucketCounts::Merge(const BucketCounts& other)
{
    for (const auto& [bucket, count] : other.counts_) {
        counts_[bucket] += count;
    }
}

std::uint64_t BucketCounts::Total() const
{
    std::uint64_t total = 0;
    for (const auto& [bucket, count] : counts_) {
        total += count;
    }
    return total;
}

BucketCounts::Holder BucketCounts::HolderOf(const std::vector<const BucketCounts*>& lists, std::uint64_t rank)
{
    std::map<std::uint32_t, std::uint64_t> together;
    for (const BucketCounts* list : lists) {
        for (const auto& [bucket, count] : list->counts_) {
            together[bucket] += count;
        }
    }
    Holder holder;
    for (const auto& [bucket, count] : together) {
        holder.bucket = bucket;
        if (rank < holder.below + count) {
            return holder;
        }
        holder.below += count;
    }
    return holder;  // beyond every value: the caller asks only for ranks below the total
}

BucketValues::BucketValues(std::vector<std::uint32_t> buckets) : buckets_(std::move(buckets))
{
    std::sort(buckets_.begin(), buckets_.end());
    buckets_.erase(std::unique(buckets_.begin(), buckets_.end()), buckets_.end());
}

void BucketValues::Add(double x)
{
    const std::uint64_t key = KeyOf(x);
    if (std::binary_search(buckets_.begin(), buckets_.end(), static_cast<std::uint32_t>(key >> kBucketShift))) {
        ++counts_[key];
    }
}

void BucketValues::Merge(const BucketValues& other)
{
    for (const auto& [key, count] : other.counts_) {
        counts_[key] += count;
    }
}

double BucketValues::ValueAt(const std::vector<const BucketValues*>& lists, BucketCounts::Holder holder,
                             std::uint64_t rank)
{
    std::map<std::uint64_t, std::uint64_t> together;
    for (const BucketValues* list : lists) {
        const auto first = list->counts_.lower_bound(std::uint64_t{holder.bucket} << kBucketShift);
        const bool last = holder.bucket + 1 == std::uint32_t{1} << (64 - kBucketShift);
        const auto end = last ? list->counts_.end()
                              : list->counts_.lower_bound((std::uint64_t{holder.bucket} + 1) << kBucketShift);
        for (auto at = first; at != end; ++at) {
            together[at->first] += at->second;
        }
    }
    std::uint64_t below = holder.below;
    for (const auto& [key, count] : together) {
        if (rank < below + count) {
            return FromOrderKey(key);
        }
        below += count;
    }
    return together.empty() ? 0.0 : FromOrderKey(together.rbegin()->first);
}

}  // namespace ambrelay
