#pragma once
#include <QString>

namespace player {

inline constexpr int VersionMajor = 4;
inline constexpr int VersionMinor = 2;
inline constexpr int VersionRevision = 1;

// "4.2.1", as the About box and --version give it.
inline QString VersionNumber() {
    return QStringLiteral("%1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}

}  // namespace player
