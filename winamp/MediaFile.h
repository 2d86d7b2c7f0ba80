#pragma once
#include <QString>

namespace winamp {

// The local file a player's entry names, as the file of the playing entry is told: a file://
// URL as its path, a path as it stands or taken from folder when relative; empty for any
// other URL (a stream, another machine) and for an empty entry.
QString MediaFile(const QString& entry, const QString& folder);

}  // namespace winamp
