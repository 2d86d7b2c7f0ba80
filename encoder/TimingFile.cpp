#include "encoder/TimingFile.h"

#include <QFileInfo>
#include <cmath>

#include "lyrics/DelimitedFile.h"
#include "lyrics/LrcFile.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/RegularFile.h"

namespace encoder {

namespace {

lyrics::LyricLines LyricLinesOf(const QString& title, const std::vector<TimingRow>& rows) {
    lyrics::LyricLines table;
    table.LyricsTitle = title;
    table.Rows.reserve(rows.size());
    for (const TimingRow& row : rows) {
        table.Rows.push_back({double(row.TimeMs.value_or(0)), row.Text, {}});
    }
    table.LastLine = qint16(rows.size() - 1);
    return table;
}

std::optional<TimingFile> ReadLrcFile(const QString& path) {
    const std::optional<QByteArray> bytes =
        lyrics::ReadRegularFile(path, lyrics::FieldReader::MaxFileSize);
    lyrics::LyricLines table;
    if (!bytes || !lyrics::ReadLrc(*bytes, QFileInfo(path).completeBaseName(), table)) {
        return std::nullopt;
    }
    TimingFile file{table.LyricsTitle, {}, TimingFormat::Lrc, false};
    file.Rows.reserve(table.Rows.size());
    for (size_t i = 0; i < table.Rows.size(); ++i) {
        // LRC gives no moment at which the last line is left.
        const bool last = i + 1 == table.Rows.size();
        file.Rows.push_back(
            {last ? std::nullopt : std::optional(std::llround(table.Rows[i].TimeMs)),
             table.Rows[i].Text});
    }
    file.RewriteDiffers =
        lyrics::EncodeText(lyrics::LrcText(LyricLinesOf(file.Title, file.Rows))) != *bytes;
    return file;
}

}  // namespace

std::vector<TimingRow> TimingRowsOf(const std::vector<lyrics::SourceRow>& rows) {
    std::vector<TimingRow> timing;
    timing.reserve(rows.size());
    for (const lyrics::SourceRow& row : rows) {
        timing.push_back(
            {row.Seconds ? std::optional(std::llround(*row.Seconds * 1000)) : std::nullopt,
             row.Text});
    }
    return timing;
}

std::vector<lyrics::SourceRow> SourceRowsOf(const std::vector<TimingRow>& rows) {
    std::vector<lyrics::SourceRow> lines;
    lines.reserve(rows.size());
    for (const TimingRow& row : rows) {
        lines.push_back(
            {row.TimeMs ? std::optional(double(*row.TimeMs) / 1000) : std::nullopt, row.Text});
    }
    return lines;
}

std::optional<TimingFile> ReadTimingFile(const QString& path) {
    if (lyrics::LyricsFormatOf(path) == TimingFormat::Lrc) {
        return ReadLrcFile(path);
    }
    std::optional<lyrics::LyricsRows> file = lyrics::ReadLyricsRows(path);
    if (!file) {
        return std::nullopt;
    }
    return TimingFile{file->Title, TimingRowsOf(file->Rows), TimingFormat::Cx3, false};
}

bool WriteTimingFile(const QString& path, TimingFormat format, const QString& title,
                     const std::vector<TimingRow>& rows) {
    if (format == TimingFormat::Lrc) {
        return lyrics::WriteLrcFile(path, LyricLinesOf(title, rows)).Saved();
    }
    return lyrics::WriteLyricsFile(path, title, SourceRowsOf(rows), int(rows.size()) - 1);
}

}  // namespace encoder
