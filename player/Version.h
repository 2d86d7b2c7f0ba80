#pragma once

namespace player {

inline constexpr int VersionMajor = 4;
inline constexpr int VersionMinor = 2;
inline constexpr int VersionRevision = 1;

}  // namespace player
