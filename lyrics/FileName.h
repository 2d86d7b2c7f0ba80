#pragma once
// File names as the system hands them over, as bytes (a command-line argument), taken the
// way Qt names files.
#include <QByteArray>
#include <QString>
#include <optional>

namespace lyrics {

// The name Qt opens the file by; nullopt when Qt cannot name that file: a name whose bytes
// do not come back the same (one that is not valid UTF-8) would open another file, or none.
std::optional<QString> FileNameFromNative(const QByteArray& native);

// Says plainly that the file name in native cannot be used, showing it as well as it can.
QString UnusableFileName(const QByteArray& native);

}  // namespace lyrics
