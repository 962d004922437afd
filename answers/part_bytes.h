#pragma once
// A part's state as bytes, for the processes of one build to hand each
// other (a cluster's workers): each member in turn, numbers as their bytes,
// texts and lists with their lengths first, a class by its Fields(visit),
// member by member, so no padding or unused storage goes out with them.
// Bytes are read only by the build that wrote them.

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "engine/outcome.h"

namespace ambrelay {

namespace part_bytes {

template <typename T, typename Visit>
concept HasFields = requires(T& t, Visit& visit) { t.Fields(visit); };

template <typename T>
struct IsList : std::false_type {};
template <typename T>
struct IsList<std::vector<T>> : std::true_type {};

template <typename T>
struct IsOptional : std::false_type {};
template <typename T>
struct IsOptional<std::optional<T>> : std::true_type {};

template <typename T>
struct IsArray : std::false_type {};
template <typename T, std::size_t N>
struct IsArray<std::array<T, N>> : std::true_type {};

template <typename T>
struct IsMap : std::false_type {};
template <typename K, typename V>
struct IsMap<std::map<K, V>> : std::true_type {};
template <typename K, typename V>
struct IsMap<std::unordered_map<K, V>> : std::true_type {};

// An element to read into: a problem has no empty state of its own.
template <typename T>
T Blank()
{
    if constexpr (std::is_same_v<T, Problem>) {
        return Problem(Reason::NoNumber);
    } else {
        return T{};
    }
}

}  // namespace part_bytes

class BytesOut {
public:
    explicit BytesOut(std::string& out) : out_(out) {}

    template <typename... T>
    void operator()(const T&... fields)
    {
        (Put(fields), ...);
    }

private:
    void PutSize(std::size_t n) { Put(static_cast<std::uint64_t>(n)); }

    template <typename T>
    void Put(const T& x)
    {
        using namespace part_bytes;
        if constexpr (HasFields<T, BytesOut>) {
            const_cast<T&>(x).Fields(*this);  // only read
        } else if constexpr (std::is_same_v<T, std::string>) {
            PutSize(x.size());
            out_.append(x);
        } else if constexpr (IsList<T>::value || IsMap<T>::value) {
            PutSize(x.size());
            for (const auto& element : x) {
                Put(element);
            }
        } else if constexpr (IsArray<T>::value) {
            for (const auto& element : x) {
                Put(element);
            }
        } else if constexpr (IsOptional<T>::value) {
            Put(x.has_value());
            if (x) {
                Put(*x);
            }
        } else if constexpr (std::is_same_v<T, Problem>) {
            (*this)(x.reason, x.input, x.kind, x.name, x.text, x.names, x.line, x.count, x.expected, x.because);
        } else {
            static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>, "a member of more than one number needs Fields");
            out_.append(reinterpret_cast<const char*>(&x), sizeof x);
        }
    }

    template <typename K, typename V>
    void Put(const std::pair<const K, V>& entry)
    {
        Put(entry.first);
        Put(entry.second);
    }

    std::string& out_;
};

class BytesIn {
public:
    explicit BytesIn(std::string_view in) : in_(in) {}

    template <typename... T>
    void operator()(T&... fields)
    {
        (Take(fields), ...);
    }

    // Whether every byte was read, and none was missing.
    bool Whole() const { return !short_ && in_.empty(); }

private:
    std::size_t TakeSize()
    {
        std::uint64_t n = 0;
        Take(n);
        // No list is longer than the bytes left: a wrong length ends the reading.
        if (n > in_.size()) {
            short_ = true;
            return 0;
        }
        return static_cast<std::size_t>(n);
    }

    template <typename T>
    void Take(T& x)
    {
        using namespace part_bytes;
        if constexpr (HasFields<T, BytesIn>) {
            x.Fields(*this);
        } else if constexpr (std::is_same_v<T, std::string>) {
            const std::size_t n = TakeSize();
            x.assign(in_.substr(0, n));
            in_.remove_prefix(n);
        } else if constexpr (IsList<T>::value) {
            const std::size_t n = TakeSize();
            x.clear();
            for (std::size_t i = 0; i < n && !short_; ++i) {
                x.push_back(Blank<typename T::value_type>());
                Take(x.back());
            }
        } else if constexpr (IsArray<T>::value) {
            for (auto& element : x) {
                Take(element);
            }
        } else if constexpr (IsMap<T>::value) {
            const std::size_t n = TakeSize();
            x.clear();
            for (std::size_t i = 0; i < n && !short_; ++i) {
                typename T::key_type key{};
                typename T::mapped_type value{};
                Take(key);
                Take(value);
                x.emplace(key, value);
            }
        } else if constexpr (IsOptional<T>::value) {
            bool given = false;
            Take(given);
            x.reset();
            if (given) {
                x.emplace(Blank<typename T::value_type>());
                Take(*x);
            }
        } else if constexpr (std::is_same_v<T, Problem>) {
            (*this)(x.reason, x.input, x.kind, x.name, x.text, x.names, x.line, x.count, x.expected, x.because);
        } else if constexpr (std::is_same_v<T, bool>) {
            // A byte other than 0 or 1 is no bool: the bytes were damaged.
            std::uint8_t byte = 0;
            Take(byte);
            short_ = short_ || byte > 1;
            x = byte == 1;
        } else {
            static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>, "a member of more than one number needs Fields");
            // A scoped enum has a fixed underlying type, so any of its values is one of the enum's.
            static_assert(!std::is_enum_v<T> || !std::is_convertible_v<T, int>, "an enum that travels is scoped");
            if (in_.size() < sizeof x) {
                short_ = true;
                in_ = {};
                return;
            }
            std::memcpy(&x, in_.data(), sizeof x);
            in_.remove_prefix(sizeof x);
        }
    }

    std::string_view in_;
    bool short_ = false;
};

}  // namespace ambrelay
