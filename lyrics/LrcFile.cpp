#include "lyrics/LrcFile.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "lyrics/DelimitedFile.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/RegularFile.h"
#include "lyrics/SaveFile.h"

namespace lyrics {

namespace {

// Six digits of minutes reach far beyond any position Winamp can report.
constexpr qint64 MaxMinutes = 999999;
constexpr qsizetype MaxStampLength = 13;  // "999999:59.999"
constexpr size_t MaxRows = size_t(std::numeric_limits<qint16>::max()) + 1;

struct StampedLine {
    qint64 StartMs;
    QString Text;
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

// Word stamps mark when each word is sung; the display shows whole lines, so they go. A
// stamp between two blanks takes one of them along, so the words keep a single blank.
QString DropWordStamps(QStringView text) {
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == u'<') {
            const QStringView ahead =
                text.sliced(i + 1, std::min(text.size() - i - 1, MaxStampLength + 1));
            const qsizetype close = ahead.indexOf(u'>');
            if (close >= 0 && ParseStamp(ahead.first(close))) {
                i += close + 2;
                if ((out.isEmpty() || out.back() == u' ') && i < text.size() && text[i] == u' ') {
                    ++i;
                }
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

QString OneLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// Rounded up to the hundredth: a line must not start before the moment it did.
QString Stamp(double ms) {
    constexpr double MaxHundredths = double(MaxMinutes * 6000 + 5999);
    const double hundredths = std::ceil(ms / 10);
    const qint64 cs = hundredths > 0 ? qint64(std::min(hundredths, MaxHundredths)) : 0;
    return QString::asprintf("[%02lld:%02lld.%02lld]", cs / 6000, cs / 100 % 60, cs % 100);
}

void Empty(LyricLines& table) {
    table.Rows.clear();
    table.LastLine = -1;
}

}  // namespace

bool IsLrcName(const QString& path) {
    return path.right(3).toLower() == u"lrc";
}

bool ReadLrc(const QByteArray& bytes, const QString& fallbackSong, LyricLines& table) {
    Empty(table);
    const QString text = DecodeText(bytes);
    std::vector<StampedLine> lines;
    QString song;
    QString artist;
    qint64 offset = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') {
            ++end;
        }
        QStringView rest = QStringView(text).sliced(start, end - start).trimmed();
        start = end + 1;
        const qsizetype stampsBefore = qsizetype(lines.size());
        while (rest.startsWith(u'[')) {
            const qsizetype close = rest.indexOf(u']');
            const std::optional<qint64> ms =
                close < 0 ? std::nullopt : ParseStamp(rest.sliced(1, close - 1));
            if (!ms) {
                break;
            }
            if (lines.size() == MaxRows) {
                return false;  // one row more than the table holds
            }
            lines.push_back({*ms, {}});
            rest = rest.sliced(close + 1).trimmed();
        }
        if (qsizetype(lines.size()) > stampsBefore) {
            const QString line = DropWordStamps(rest).trimmed();
            for (auto k = size_t(stampsBefore); k < lines.size(); ++k) {
                lines[k].Text = line;
            }
            continue;
        }
        // A tag fills the line: "[ti:Paper Lanterns]".
        const qsizetype colon = rest.indexOf(u':');
        if (!rest.startsWith(u'[') || !rest.endsWith(u']') || colon < 0) {
            continue;  // text without a stamp is never shown
        }
        const QStringView key = rest.sliced(1, colon - 1).trimmed();
        const QStringView value = rest.sliced(colon + 1, rest.size() - colon - 2).trimmed();
        if (key.compare(u"ti", Qt::CaseInsensitive) == 0) {
            song = value.toString();
        } else if (key.compare(u"ar", Qt::CaseInsensitive) == 0) {
            artist = value.toString();
        } else if (key.compare(u"offset", Qt::CaseInsensitive) == 0) {
            offset = ParseOffset(value).value_or(offset);
        }
    }
    if (lines.empty()) {
        return false;
    }
    // A positive offset shows the lines earlier.
    for (StampedLine& line : lines) {
        line.StartMs = std::max<qint64>(0, line.StartMs - offset);
    }
    std::stable_sort(lines.begin(), lines.end(), [](const StampedLine& a, const StampedLine& b) {
        return a.StartMs < b.StartMs;
    });
    const bool emptyFirst = lines.front().StartMs > 0;
    if (lines.size() + (emptyFirst ? 1 : 0) > MaxRows) {
        return false;
    }
    table.Rows.reserve(lines.size() + 1);
    if (emptyFirst) {
        table.Rows.push_back({double(lines.front().StartMs), QString()});
    }
    for (size_t k = 0; k < lines.size(); ++k) {
        // The last line is never left by the display, so it has no time.
        const double leaves = k + 1 < lines.size() ? double(lines[k + 1].StartMs) : 0;
        table.Rows.push_back({leaves, std::move(lines[k].Text)});
    }
    table.LastLine = qint16(table.Rows.size() - 1);
    song = song.isEmpty() ? fallbackSong : song;
    table.LyricsTitle = artist.isEmpty() ? song : song + QStringLiteral(" - ") + artist;
    return true;
}

bool LoadLrc(LyricLines& table) {
    const std::optional<QByteArray> bytes =
        ReadRegularFile(table.LyricsPath, FieldReader::MaxFileSize);
    if (!bytes) {
        Empty(table);
        return false;
    }
    return ReadLrc(*bytes, QFileInfo(table.LyricsPath).completeBaseName(), table);
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
    // only forward, a time earlier than one before it takes effect at that one.
    double starts = 0;
    for (const LyricRow& row : table.Rows) {
        out += Stamp(starts) + OneLine(row.Text) + QStringLiteral("\r\n");
        starts = std::max(starts, row.TimeMs);
    }
    return out;
}

SaveResult WriteLrcFile(const QString& path, const LyricLines& table) {
    return SaveBytes(path, EncodeText(LrcText(table)));
}

SaveResult ExportLrc(const QString& lyricsPath, const QString& lrcPath) {
    LyricLines table;
    table.LyricsPath = lyricsPath;
    if (!LoadLyrics(table)) {
        return {QStringLiteral("could not read ") + lyricsPath};
    }
    const QFileInfo in(lyricsPath);
    const QString target = lrcPath.isEmpty() ? in.path() + QStringLiteral("/") +
                                                   in.completeBaseName() + QStringLiteral(".lrc")
                                             : lrcPath;
    // Rewriting an LRC file in place would lose what the table does not keep.
    if (QFileInfo(target) == in) {
        return {target + QStringLiteral(" is the lyrics file itself")};
    }
    const SaveResult written = WriteLrcFile(target, table);
    if (!written.Saved()) {
        return {QStringLiteral("could not write ") + target + QStringLiteral(": ") + written.Error};
    }
    return written;
}

}  // namespace lyrics
