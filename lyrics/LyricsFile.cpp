#include "lyrics/LyricsFile.h"

#include <QFileInfo>
#include <cmath>
#include <limits>

#include "lyrics/DelimitedFile.h"
#include "lyrics/LrcFile.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/RegularFile.h"

namespace lyrics {

namespace {

constexpr size_t MaxRows = size_t(std::numeric_limits<qint16>::max()) + 1;

// The records after the title; false at the first that fails, which stays in rows as far as
// it was read. A row beyond MaxRows fails before it is added.
bool ReadRecords(FieldReader& reader, std::vector<SourceRow>& rows) {
    while (!reader.AtEnd()) {
        if (rows.size() == MaxRows) {
            return false;  // the row index would overflow
        }
        SourceRow& row = rows.emplace_back();
        bool empty = false;
        const std::optional<double> seconds = reader.ReadNumber(&empty);
        if (!seconds) {
            return false;
        }
        if (!empty) {
            row.Seconds = *seconds;
        }
        std::optional<QString> text = reader.ReadString();
        if (!text) {
            return false;
        }
        row.Text = std::move(*text);
    }
    return true;
}

}  // namespace

LyricsRead ReadLyricsFile(const QString& path) {
    LyricsRead read;
    LyricLines& table = read.Lines;
    table.LyricsPath = path;
    if (LyricsFormatOf(path) == LyricsFormat::Lrc) {
        const std::optional<QByteArray> bytes = ReadRegularFile(path, FieldReader::MaxFileSize);
        read.Complete = bytes && ReadLrc(*bytes, QFileInfo(path).completeBaseName(), table);
        read.TitleRead = read.Complete;
        return read;
    }
    FieldReader reader;
    if (!reader.Open(path)) {
        return read;
    }
    std::optional<QString> title = reader.ReadString();
    if (!title) {
        return read;
    }
    table.LyricsTitle = *title;
    read.TitleRead = true;
    std::vector<SourceRow> rows;
    read.Complete = ReadRecords(reader, rows);
    table.Rows.reserve(rows.size());
    for (SourceRow& row : rows) {
        // To the microsecond: 4.03 times 1000 is a hair above 4030 in binary, and a position
        // of 4030 ms must reach the line.
        table.Rows.push_back(
            {std::round(row.Seconds.value_or(0) * 1e6) / 1000, std::move(row.Text), {}});
    }
    table.LastLine = qint16(table.Rows.size() - 1);
    return read;
}

std::optional<LyricsRows> ReadLyricsRows(const QString& path) {
    FieldReader reader;
    LyricsRows file;
    if (!reader.Open(path)) {
        return std::nullopt;
    }
    std::optional<QString> title = reader.ReadString();
    if (!title || !ReadRecords(reader, file.Rows)) {
        return std::nullopt;
    }
    file.Title = std::move(*title);
    return file;
}

std::optional<QString> ReadLyricsTitle(const QString& path) {
    if (LyricsFormatOf(path) == LyricsFormat::Lrc) {
        // LRC keeps its title in tags anywhere in the file.
        LyricsRead read = ReadLyricsFile(path);
        return read.Complete ? std::optional(std::move(read.Lines.LyricsTitle)) : std::nullopt;
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
