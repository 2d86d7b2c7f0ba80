#pragma once
// A timed song read for correcting and written back in its own format: .cx3/.cx2 (times in
// seconds, an untimed line left empty) or LRC (the moment each line starts).
#include <QString>
#include <optional>
#include <vector>

#include "encoder/TimingTable.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/SourceRow.h"

namespace encoder {

using TimingFormat = lyrics::LyricsFormat;

struct TimingFile {
    QString Title;
    std::vector<TimingRow> Rows;
    TimingFormat Format = TimingFormat::Cx3;
    // Writing the rows back would not give the file's own bytes: an LRC file written by
    // another program may hold tags, word timing or text that the rows do not keep.
    bool RewriteDiffers = false;
};

// The encoder's stamps in seconds, to the millisecond.
std::vector<TimingRow> TimingRowsOf(const std::vector<lyrics::SourceRow>& rows);

// And back: the times in seconds, an untimed line without one.
std::vector<lyrics::SourceRow> SourceRowsOf(const std::vector<TimingRow>& rows);

// nullopt when the file cannot be read whole.
std::optional<TimingFile> ReadTimingFile(const QString& path);
// Replaces the file at path atomically; false, the old file whole, when it cannot.
bool WriteTimingFile(const QString& path, TimingFormat format, const QString& title,
                     const std::vector<TimingRow>& rows);

}  // namespace encoder
