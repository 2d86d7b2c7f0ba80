#pragma once
#include <QString>

namespace encoder {

inline constexpr int VersionMajor = 1;
inline constexpr int VersionMinor = 1;
inline constexpr int VersionRevision = 2;

// "1.1.2", as the About box and --version give it.
inline QString VersionNumber() {
    return QStringLiteral("%1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}

}  // namespace encoder
