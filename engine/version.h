#pragma once
// Version A (version 1) or version B (version 2): the one name for a version
// everywhere, whether it leads, wins, carries the marker or shows its bar.

#include <optional>
#include <string>

namespace ambrelay {

enum class Version { A, B };

// "A" or "B", as the window and every output write it.
inline std::string VersionName(Version v) { return v == Version::A ? "A" : "B"; }

inline Version OtherVersion(Version v) { return v == Version::A ? Version::B : Version::A; }

// No winner: the likelihood is below 70, or the ratios are the same.
using Winner = std::optional<Version>;

// "A", "B" or "None", as the verdict sentence and the form variable write it.
inline std::string WinnerText(Winner winner) { return winner ? VersionName(*winner) : "None"; }

}  // namespace ambrelay
