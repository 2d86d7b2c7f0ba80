#pragma once
// Lyrics-line tables in tests: rows as (milliseconds, text) pairs, and loading a file over
// a table that still holds another song.
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

#include "lyrics/LyricLines.h"
#include "lyrics/LyricsFile.h"
#include "support/Files.h"

namespace testsupport {

using Rows = QList<QPair<double, QString>>;

inline Rows RowsOf(const lyrics::LyricLines& table) {
    Rows rows;
    for (const lyrics::LyricRow& row : table.Rows) {
        rows.append({row.TimeMs, row.Text});
    }
    return rows;
}

inline const QString OldTitle = QStringLiteral("Previous Song - Someone");

// LoadLyrics of path holding bytes ("<missing>": no file at all), over a table that holds
// one row of a song titled OldTitle.
inline bool LoadOverOldSong(lyrics::LyricLines& table, const QString& path,
                            const QByteArray& bytes) {
    table.LyricsTitle = OldTitle;
    table.Rows = {{1, "left over"}};
    table.LastLine = 0;
    table.LyricsPath = path;
    QFile::remove(path);
    if (bytes != "<missing>" && !WriteBytes(path, bytes)) {
        return false;
    }
    return lyrics::LoadLyrics(table);
}

}  // namespace testsupport
