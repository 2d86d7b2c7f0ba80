#include "lyrics/LyricsFile.h"

#include <cmath>
#include <limits>

#include "lyrics/DelimitedFile.h"
#include "lyrics/LrcFile.h"

namespace lyrics {

bool LoadLyrics(LyricLines& table) {
    if (IsLrcName(table.LyricsPath)) {
        return LoadLrc(table);
    }
    table.Rows.clear();
    table.LastLine = -1;
    FieldReader reader;
    if (!reader.Open(table.LyricsPath)) {
        return false;
    }
    std::optional<QString> title = reader.ReadString();
    if (!title) {
        return false;
    }
    table.LyricsTitle = *title;
    while (!reader.AtEnd()) {
        if (table.LastLine == std::numeric_limits<qint16>::max()) {
            return false;  // the row index would overflow
        }
        ++table.LastLine;
        LyricRow& row = table.Rows.emplace_back();
        const std::optional<double> seconds = reader.ReadNumber();
        if (!seconds) {
            return false;
        }
        // To the microsecond: 4.03 times 1000 is a hair above 4030 in binary, and a position
        // of 4030 ms must reach the line.
        row.TimeMs = std::round(*seconds * 1e6) / 1000;
        std::optional<QString> text = reader.ReadString();
        if (!text) {
            return false;
        }
        row.Text = std::move(*text);
    }
    return true;
}

std::optional<QString> ReadLyricsTitle(const QString& path) {
    if (IsLrcName(path)) {
        // LRC keeps its title in tags anywhere in the file.
        LyricLines table;
        table.LyricsPath = path;
        return LoadLrc(table) ? std::optional(table.LyricsTitle) : std::nullopt;
    }
    FieldReader reader;
    if (!reader.Open(path)) {
        return std::nullopt;
    }
    return reader.ReadString();
}

bool WriteLyricsFile(const QString& path, const QString& title, const std::vector<SourceRow>& lines,
                     int last) {
    if (last >= static_cast<int>(lines.size())) {
        return false;
    }
    FieldWriter writer;
    writer.WriteString(title);
    writer.EndLine();
    for (int i = 0; i <= last; ++i) {
        const SourceRow& row = lines[static_cast<size_t>(i)];
        if (row.Seconds) {
            writer.WriteNumber(*row.Seconds);
        } else {
            writer.WriteEmpty();
        }
        writer.WriteString(row.Text);
        writer.EndLine();
    }
    return writer.Save(path).Saved();
}

}  // namespace lyrics
