#include "lyrics/LrcFile.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "lyrics/DelimitedFile.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/SaveFile.h"

namespace lyrics {

namespace {

// Six digits of minutes reach far beyond any position Winamp can report.
constexpr qint64 MaxMinutes = 999999;
constexpr qint64 MaxHundredths = MaxMinutes * 6000 + 5999;  // the latest stamp written
constexpr qsizetype MaxStampLength = 13;                    // "999999:59.999"
constexpr size_t MaxRows = size_t(std::numeric_limits<qint16>::max()) + 1;
// Lines sung together are copied into one row, and a line with several stamps keeps its word
// times once for each: beyond this many characters and word times copied, the file is not a
// song and reading it would only exhaust the memory.
constexpr qsizetype MaxHeld = FieldReader::MaxFileSize;

// A stamped line of the file: its text without word stamps, and its word times as the file
// gives them, for the line as sung at its first stamp.
struct TextLine {
    QString Text;
    std::vector<WordTime> Words;
    qint64 FirstStampMs = 0;
};

struct StampedLine {
    qint64 StartMs;
    size_t Line;  // index of its TextLine
};

struct Tags {
    QString Song;
    QString Artist;
    qint64 OffsetMs = 0;
};

std::optional<qint64> Digits(QStringView s, qsizetype least, qsizetype most) {
    if (s.size() < least || s.size() > most) {
        return std::nullopt;
    }
    qint64 value = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// "mm:ss", "mm:ss.x" to "mm:ss.xxx" (a colon before the fraction is taken too), in ms.
std::optional<qint64> ParseStamp(QStringView s) {
    if (s.size() > MaxStampLength) {
        return std::nullopt;
    }
    const qsizetype colon = s.indexOf(u':');
    if (colon < 0) {
        return std::nullopt;
    }
    const std::optional<qint64> minutes = Digits(s.first(colon), 1, 6);
    QStringView rest = s.sliced(colon + 1);
    qsizetype point = rest.indexOf(u'.');
    if (point < 0) {
        point = rest.indexOf(u':');
    }
    const std::optional<qint64> seconds = Digits(point < 0 ? rest : rest.first(point), 1, 2);
    if (!minutes || !seconds || *seconds > 59) {
        return std::nullopt;
    }
    qint64 ms = *minutes * 60000 + *seconds * 1000;
    if (point >= 0) {
        const QStringView fraction = rest.sliced(point + 1);
        const std::optional<qint64> value = Digits(fraction, 1, 3);
        if (!value) {
            return std::nullopt;
        }
        ms += *value * (fraction.size() == 1 ? 100 : fraction.size() == 2 ? 10 : 1);
    }
    return ms;
}

std::optional<qint64> ParseOffset(QStringView s) {
    s = s.trimmed();
    const bool negative = s.startsWith(u'-');
    if (negative || s.startsWith(u'+')) {
        s = s.sliced(1);
    }
    const std::optional<qint64> value = Digits(s, 1, 9);
    if (!value) {
        return std::nullopt;
    }
    return negative ? -*value : *value;
}

// A stamp inside a line's text, starting at i: "<01:12.90>" or "[01:12.90]", maybe with
// blanks after the opening bracket.
struct InlineStamp {
    qsizetype Blanks;
    qsizetype End;  // just past the closing bracket
    qint64 Ms;
};

std::optional<InlineStamp> StampAt(QStringView text, qsizetype i) {
    const QChar open = text[i];
    if (open != u'<' && open != u'[') {
        return std::nullopt;
    }
    qsizetype body = i + 1;
    while (body < text.size() && text[body] == u' ') {
        ++body;
    }
    const QStringView ahead = text.sliced(body, std::min(text.size() - body, MaxStampLength + 1));
    const qsizetype length = ahead.indexOf(open == u'<' ? u'>' : u']');
    const std::optional<qint64> ms = length < 0 ? std::nullopt : ParseStamp(ahead.first(length));
    if (!ms) {
        return std::nullopt;
    }
    return InlineStamp{body - i - 1, body + length + 1, *ms};
}

// Copies text to out, but for the stamps in it: onStamp(i, stamp) appends what stands for
// the stamp at i and answers where the copy goes on. Reading and writing find the same stamps.
template <typename OnStamp>
void CopyAroundStamps(QStringView text, QString& out, OnStamp onStamp) {
    qsizetype i = 0;
    while (i < text.size()) {
        if (const std::optional<InlineStamp> stamp = StampAt(text, i)) {
            i = onStamp(i, *stamp);
        } else {
            out += text[i++];
        }
    }
}

// The text after a line's stamps. Word stamps go and their times stay, with the place of
// the word; a stamp between two blanks takes one of them along, so the words keep a single
// blank. A bracket, blanks and a stamp is text that looked like a stamp when it was
// written (AppendText): one of the blanks goes.
TextLine ReadText(QStringView text) {
    TextLine line;
    QString& out = line.Text;
    out.reserve(text.size());
    CopyAroundStamps(text, out, [&](qsizetype i, const InlineStamp& stamp) {
        if (stamp.Blanks > 0) {
            out += text[i];
            out += text.sliced(i + 2, stamp.End - i - 2);
            return stamp.End;
        }
        line.Words.push_back({double(stamp.Ms), out.size()});
        const bool betweenBlanks = (out.isEmpty() || out.back() == u' ') &&
                                   stamp.End < text.size() && text[stamp.End] == u' ';
        return stamp.End + (betweenBlanks ? 1 : 0);
    });
    qsizetype lead = 0;
    while (lead < out.size() && out[lead].isSpace()) {
        ++lead;
    }
    out = out.trimmed();
    for (WordTime& word : line.Words) {
        word.Offset = std::clamp(word.Offset - lead, qsizetype(0), out.size());
    }
    return line;
}

// Tags fill a line, one or more: "[ti:Paper Lanterns][ar:The Quiet Harbour]". A tag runs to
// the "]" that ends the line or stands before the next tag's "[", so a title may hold "]".
void ReadTags(QStringView rest, Tags& tags) {
    while (rest.startsWith(u'[')) {
        qsizetype close = rest.indexOf(u']');
        while (close >= 0) {
            const QStringView after = rest.sliced(close + 1).trimmed();
            if (after.isEmpty() || after.startsWith(u'[')) {
                break;
            }
            close = rest.indexOf(u']', close + 1);
        }
        if (close < 0) {
            return;  // text without a stamp is never shown
        }
        const QStringView tag = rest.sliced(1, close - 1);
        rest = rest.sliced(close + 1).trimmed();
        const qsizetype colon = tag.indexOf(u':');
        if (colon < 0) {
            continue;
        }
        const QStringView key = tag.first(colon).trimmed();
        const QStringView value = tag.sliced(colon + 1).trimmed();
        if (key.compare(u"ti", Qt::CaseInsensitive) == 0) {
            tags.Song = value.toString();
        } else if (key.compare(u"ar", Qt::CaseInsensitive) == 0) {
            tags.Artist = value.toString();
        } else if (key.compare(u"offset", Qt::CaseInsensitive) == 0) {
            tags.OffsetMs = ParseOffset(value).value_or(tags.OffsetMs);
        }
    }
}

// The lines that share a start become one row, in file order; the same line stamped twice
// with one time counts once.
bool JoinLines(const std::vector<StampedLine>& stamps, const std::vector<TextLine>& lines,
               std::vector<LyricRow>& rows, std::vector<qint64>& starts) {
    qsizetype held = 0;
    bool copied = false;  // the last row's text is a copy, no longer its first line's own
    for (size_t k = 0; k < stamps.size(); ++k) {
        const StampedLine& stamp = stamps[k];
        const bool joins = k > 0 && stamps[k - 1].StartMs == stamp.StartMs;
        if (joins && stamps[k - 1].Line == stamp.Line) {
            continue;
        }
        const TextLine& line = lines[stamp.Line];
        held += qsizetype(line.Words.size());
        if (joins) {
            held += (copied ? 0 : rows.back().Text.size()) + line.Text.size() + 1;
            copied = true;
            rows.back().Text += u'\n';
        } else {
            rows.emplace_back();
            starts.push_back(stamp.StartMs);
            copied = false;
        }
        if (held > MaxHeld) {
            return false;
        }
        LyricRow& row = rows.back();
        const qsizetype at = row.Text.size();
        row.Text += line.Text;
        // Word times follow the line to each of its stamps, and the offset.
        const double shift = double(stamp.StartMs - line.FirstStampMs);
        for (const WordTime& word : line.Words) {
            row.Words.push_back({std::max(0.0, word.StartMs + shift), at + word.Offset});
        }
    }
    return true;
}

// Where the line that starts at from ends: at a CR, an LF or the end of the text.
qsizetype LineEnd(QStringView text, qsizetype from) {
    while (from < text.size() && text[from] != u'\r' && text[from] != u'\n') {
        ++from;
    }
    return from;
}

QString OneLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// Rounded up to the hundredth: a line must not start before the moment it did.
qint64 Hundredths(double ms) {
    const double hundredths = std::ceil(ms / 10);
    return hundredths > 0 ? qint64(std::min(hundredths, double(MaxHundredths))) : 0;
}

QString StampText(qint64 cs) {
    return QString::asprintf("%02lld:%02lld.%02lld", cs / 6000, cs / 100 % 60, cs % 100);
}

// Text that would read as a stamp gets a blank after its bracket ("[ 00:05.00]"), which
// ReadText takes away again; other players show the text with that blank.
void AppendText(QString& out, QStringView text) {
    CopyAroundStamps(text, out, [&](qsizetype i, const InlineStamp& stamp) {
        out += text[i];
        out += u' ';
        out += text.sliced(i + 1, stamp.End - i - 1);
        return stamp.End;
    });
}

// One line of a row's text, from offset from of the row, with the stamps of its words.
void AppendLine(QString& out, QStringView line, qsizetype from, std::span<const WordTime> words) {
    qsizetype done = 0;
    bool stamped = false;
    const auto text = [&](qsizetype upto) {
        if (upto == done) {
            return;
        }
        // ReadText takes one of two blanks around a stamp: give it one more to take.
        if (stamped && line[done] == u' ' && (done == 0 || line[done - 1] == u' ')) {
            out += u' ';
        }
        AppendText(out, line.sliced(done, upto - done));
        done = upto;
    };
    for (const WordTime& word : words) {
        text(std::clamp(word.Offset - from, done, line.size()));
        out += u'<' + StampText(Hundredths(word.StartMs)) + u'>';
        stamped = true;
    }
    text(line.size());
}

// Each line of the row's text under the row's stamp, so that it reads back as one row.
void AppendRow(QString& out, const QString& stamp, const LyricRow& row) {
    const QString& text = row.Text;
    auto word = row.Words.begin();
    qsizetype from = 0;
    for (;;) {
        const qsizetype end = LineEnd(text, from);
        const bool last = end == text.size();
        const auto upto = last ? row.Words.end()
                               : std::find_if(word, row.Words.end(),
                                              [end](const WordTime& w) { return w.Offset > end; });
        out += stamp;
        AppendLine(out, QStringView(text).sliced(from, end - from), from, {word, upto});
        out += QStringLiteral("\r\n");
        if (last) {
            return;
        }
        word = upto;
        from =
            end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }
}

void Empty(LyricLines& table) {
    table.Rows.clear();
    table.LastLine = -1;
}

}  // namespace

bool ReadLrc(const QByteArray& bytes, const QString& fallbackSong, LyricLines& table) {
    Empty(table);
    const QString text = DecodeText(bytes);
    std::vector<TextLine> lines;
    std::vector<StampedLine> stamps;
    Tags tags;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = LineEnd(text, start);
        QStringView rest = QStringView(text).sliced(start, end - start).trimmed();
        start = end + 1;
        const size_t stampsBefore = stamps.size();
        while (rest.startsWith(u'[')) {
            const qsizetype close = rest.indexOf(u']');
            const std::optional<qint64> ms =
                close < 0 ? std::nullopt : ParseStamp(rest.sliced(1, close - 1));
            if (!ms) {
                break;
            }
            if (stamps.size() == MaxRows) {
                return false;  // more stamps than the table holds rows: no song, stop reading
            }
            stamps.push_back({*ms, lines.size()});
            rest = rest.sliced(close + 1).trimmed();
        }
        if (stamps.size() == stampsBefore) {
            ReadTags(rest, tags);
            continue;
        }
        lines.push_back(ReadText(rest));
        lines.back().FirstStampMs = stamps[stampsBefore].StartMs;
    }
    if (stamps.empty()) {
        return false;
    }
    // A positive offset shows the lines earlier; lines it moves before the start stay apart.
    for (StampedLine& stamp : stamps) {
        stamp.StartMs -= tags.OffsetMs;
    }
    std::stable_sort(stamps.begin(), stamps.end(), [](const StampedLine& a, const StampedLine& b) {
        return a.StartMs < b.StartMs;
    });
    std::vector<LyricRow> rows;
    std::vector<qint64> starts;
    if (!JoinLines(stamps, lines, rows, starts)) {
        return false;
    }
    const qint64 firstStart = std::max<qint64>(0, starts.front());
    if (rows.size() + (firstStart > 0 ? 1 : 0) > MaxRows) {
        return false;
    }
    table.Rows.reserve(rows.size() + 1);
    if (firstStart > 0) {
        table.Rows.push_back({double(firstStart), QString(), {}});
    }
    for (size_t k = 0; k < rows.size(); ++k) {
        // The last line is never left by the display, so it has no time.
        rows[k].TimeMs = k + 1 < rows.size() ? double(std::max<qint64>(0, starts[k + 1])) : 0;
        table.Rows.push_back(std::move(rows[k]));
    }
    table.LastLine = qint16(table.Rows.size() - 1);
    const QString song = tags.Song.isEmpty() ? fallbackSong : tags.Song;
    table.LyricsTitle = tags.Artist.isEmpty() ? song : song + QStringLiteral(" - ") + tags.Artist;
    return true;
}

QString LrcText(const LyricLines& table) {
    QString out;
    const QString title = OneLine(table.LyricsTitle);
    const qsizetype dash = title.indexOf(QStringLiteral(" - "));
    const QString song = (dash < 0 ? title : title.first(dash)).trimmed();
    const QString artist = dash < 0 ? QString() : title.sliced(dash + 3).trimmed();
    if (!song.isEmpty()) {
        out += QStringLiteral("[ti:") + song + QStringLiteral("]\r\n");
    }
    if (!artist.isEmpty()) {
        out += QStringLiteral("[ar:") + artist + QStringLiteral("]\r\n");
    }
    // A line starts when the display leaves the one before it; since the display moves on
    // only forward, a time earlier than one before it takes effect at that one. Every row
    // gets a stamp of its own, a hundredth after the one before at the least, since lines
    // under one stamp read back as one row.
    double leftAt = 0;
    qint64 stamp = -1;
    for (const LyricRow& row : table.Rows) {
        stamp = std::min(std::max(Hundredths(leftAt), stamp + 1), MaxHundredths);
        AppendRow(out, u'[' + StampText(stamp) + u']', row);
        leftAt = std::max(leftAt, row.TimeMs);
    }
    return out;
}

SaveResult WriteLrcFile(const QString& path, const LyricLines& table) {
    return SaveBytes(path, EncodeText(LrcText(table)));
}

QByteArray LrcMovedBy(const QByteArray& bytes, qint64 shiftMs) {
    // Bytes, not text: the tag is plain ASCII, and the lines around it keep their encoding.
    qsizetype valueFrom = -1;
    qsizetype valueTo = -1;
    qint64 offset = 0;
    qsizetype firstStamped = -1;
    QByteArray lineEnd;
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const qsizetype textStart = start;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') {
            ++end;
        }
        if (lineEnd.isEmpty() && end < bytes.size()) {
            lineEnd = bytes.sliced(end, bytes.mid(end, 2) == "\r\n" ? 2 : 1);
        }
        // A line of tags only, "[ti:Song][offset:200]", or a stamped line.
        qsizetype pos = start;
        qsizetype from = -1;
        qsizetype to = -1;
        std::optional<qint64> value;
        bool stamped = false;
        while (pos < end) {
            while (pos < end && (bytes[pos] == ' ' || bytes[pos] == '\t')) {
                ++pos;
            }
            const qsizetype length = QByteArrayView(bytes).sliced(pos, end - pos).indexOf(']');
            if (pos == end || bytes[pos] != '[' || length < 0) {
                break;
            }
            const qsizetype close = pos + length;
            const QString inner = QString::fromLatin1(bytes.sliced(pos + 1, close - pos - 1));
            stamped = stamped || ParseStamp(inner).has_value();
            const qsizetype colon = inner.indexOf(u':');
            if (colon >= 0 &&
                inner.first(colon).trimmed().compare(u"offset", Qt::CaseInsensitive) == 0) {
                if (const std::optional<qint64> parsed =
                        ParseOffset(QStringView(inner).sliced(colon + 1))) {
                    value = parsed;
                    from = pos + 2 + colon;
                    to = close;
                }
            }
            pos = close + 1;
        }
        if (stamped && firstStamped < 0) {
            firstStamped = start;
        }
        if (!stamped && pos == end && value) {
            offset = *value;
            valueFrom = from;
            valueTo = to;
        }
        start = end + (bytes.mid(end, 2) == "\r\n" ? 2 : 1);
    }
    // The reader takes a stamp minus the offset as the moment a line starts.
    const QByteArray moved = QByteArray::number(offset - shiftMs);
    QByteArray out = bytes;
    if (valueFrom >= 0) {
        return out.replace(valueFrom, valueTo - valueFrom, moved);
    }
    const QByteArray tag = "[offset:" + moved + "]" + (lineEnd.isEmpty() ? "\r\n" : lineEnd);
    return out.insert(firstStamped >= 0 ? firstStamped : textStart, tag);
}

SaveResult ExportLrc(const QString& lyricsPath, const QString& lrcPath) {
    const LyricsRead read = ReadLyricsFile(lyricsPath);
    if (!read.Complete) {
        return {QStringLiteral("could not read ") + lyricsPath};
    }
    const QFileInfo in(lyricsPath);
    const QString target = lrcPath.isEmpty()
                               ? in.path() + QStringLiteral("/") + in.completeBaseName() +
                                     ExtensionOf(LyricsFormat::Lrc)
                               : lrcPath;
    // Rewriting an LRC file in place would lose what the table does not keep.
    if (QFileInfo(target) == in) {
        return {target + QStringLiteral(" is the lyrics file itself")};
    }
    const SaveResult written = WriteLrcFile(target, read.Lines);
    if (!written.Saved()) {
        return {QStringLiteral("could not write ") + target + QStringLiteral(": ") + written.Error};
    }
    return written;
}

}  // namespace lyrics
