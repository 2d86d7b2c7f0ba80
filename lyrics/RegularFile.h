#pragma once
// Reading a whole file without ever waiting on it: a FIFO, a device, a socket or a folder
// given where a file is expected would hold the window thread in open() or read() for good.
#include <QByteArray>
#include <QString>
#include <optional>

namespace lyrics {

// The bytes of the regular file at path, or nullopt when it cannot be opened or read, is
// anything but a regular file, or holds more than maxSize bytes. The kind is checked
// before the open and again on what was opened, so a path that changes kind in between
// is refused too, without blocking.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxSize);

}  // namespace lyrics
