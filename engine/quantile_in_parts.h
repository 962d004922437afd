#pragma once
// A percentile of values that lie in parts apart (a cluster's partitions),
// exactly as R's type 7 takes it of all of them, without a sorted copy and
// without gathering the values: one pass counts the values in buckets of
// their bit patterns, a second gathers only the values of the buckets that
// hold the ranks wanted, and each rank is read among those.

#include <bit>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

namespace ambrelay {

// Doubles in the order of their values as unsigned integers: a bucket of
// keys is a range of values.
inline std::uint64_t OrderKey(double x)
{
    const auto bits = std::bit_cast<std::uint64_t>(x);
    return bits >> 63 ? ~bits : bits | (std::uint64_t{1} << 63);
}

inline double FromOrderKey(std::uint64_t key)
{
    return std::bit_cast<double>(key >> 63 ? key & ~(std::uint64_t{1} << 63) : ~key);
}

// Where type 7 reads a percentile among `counted` sorted values: the value
// at `low` (0 the smallest), moved `fraction` of the way to the next.
struct QuantilePlace {
    std::uint64_t low = 0;
    double fraction = 0;

    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(low, fraction);
    }
};

QuantilePlace PlaceOf(std::uint64_t counted, double probability);

// The percentile from the values at the place and after it.
double Interpolated(double low, double high, double fraction);

// A value's bucket: the sign, the exponent and the mantissa's first 8 bits,
// so a bucket spans a 256th of a doubling. Every zero goes where -0 goes, so
// that a rank among zeros reads -0, as halving the range of doubles finds it.
std::uint32_t BucketOf(double x);

// How many values fell in each bucket.
class BucketCounts {
public:
    void Add(double x) { ++counts_[BucketOf(x)]; }
    void Merge(const BucketCounts& other);
    std::uint64_t Total() const;

    // The bucket that holds the value at `rank` (0 the smallest) of every
    // list's values together, and how many of them lie in the buckets below.
    struct Holder {
        std::uint32_t bucket = 0;
        std::uint64_t below = 0;

        template <typename Visit>
        void Fields(Visit& visit)
        {
            visit(bucket, below);
        }
    };
    static Holder HolderOf(const std::vector<const BucketCounts*>& lists, std::uint64_t rank);

    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(counts_);
    }

private:
    std::unordered_map<std::uint32_t, std::uint64_t> counts_;
};

// The values that fell in some buckets, each with how often it came.
class BucketValues {
public:
    BucketValues() = default;
    explicit BucketValues(std::vector<std::uint32_t> buckets);
    void Add(double x);
    void Merge(const BucketValues& other);

    // The value at `rank` (0 the smallest) of the bucket that holds it, of
    // every list's values together; `rank` counts the values below the
    // bucket too, `holder` as HolderOf found it.
    static double ValueAt(const std::vector<const BucketValues*>& lists, BucketCounts::Holder holder,
                          std::uint64_t rank);

    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(buckets_, counts_);
    }

private:
    std::vector<std::uint32_t> buckets_;        // the buckets wanted, few
    std::map<std::uint64_t, std::uint64_t> counts_;  // by the value's key
};

}  // namespace ambrelay
