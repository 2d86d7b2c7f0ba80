#include "lyrics/Offsets.h"

#include <algorithm>
#include <cmath>

#include "lyrics/DelimitedFile.h"
#include "lyrics/LrcFile.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/RegularFile.h"
#include "lyrics/SaveFile.h"

namespace lyrics {

qint64 HeardPosition(qint64 positionMs, qint64 delayMs) {
    // A position Winamp gives below 0 is passed on as it is, as without a delay.
    return std::min(positionMs, std::max<qint64>(0, positionMs - delayMs));
}

std::vector<SourceRow> RowsMovedBy(std::vector<SourceRow> rows, qint64 shiftMs) {
    for (SourceRow& row : rows) {
        if (row.Seconds) {
            const qint64 ms = std::llround(*row.Seconds * 1000) + shiftMs;
            row.Seconds = double(std::max<qint64>(0, ms)) / 1000;
        }
    }
    return rows;
}

bool MoveLyricsFile(const QString& path, qint64 shiftMs) {
    if (LyricsFormatOf(path) == LyricsFormat::Lrc) {
        LyricLines readable;
        const std::optional<QByteArray> bytes = ReadRegularFile(path, FieldReader::MaxFileSize);
        return bytes && ReadLrc(*bytes, QString(), readable) &&
               SaveBytes(path, LrcMovedBy(*bytes, shiftMs)).Saved();
    }
    const std::optional<LyricsRows> file = ReadLyricsRows(path);
    return file && WriteLyricsFile(path, file->Title, RowsMovedBy(file->Rows, shiftMs),
                                   int(file->Rows.size()) - 1);
}

}  // namespace lyrics
