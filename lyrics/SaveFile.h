#pragma once
// Saving a whole file so that nothing is ever lost: either the complete new file takes the
// old one's place, or the old file stays exactly as it was and the save says why it failed.
#include <QByteArray>
#include <QString>

namespace lyrics {

struct SaveResult {
    // Empty once the whole new file is in place; otherwise why it is not, in words for the
    // user.
    QString Error;

    bool Saved() const { return Error.isEmpty(); }
};

// Replaces the file at path with bytes. A symbolic link is followed, so the file it leads
// to is replaced and the link stays; anything there but a regular file (a folder, a device,
// a FIFO) is refused, never replaced. The new file is written beside the old one, flushed
// and synced, and renamed over it only when all of that succeeded.
SaveResult SaveBytes(const QString& path, const QByteArray& bytes);

}  // namespace lyrics
