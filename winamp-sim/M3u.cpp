#include "winamp-sim/M3u.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include "lyrics/DelimitedFile.h"
#include "lyrics/RegularFile.h"
#include "winamp/MediaFile.h"

namespace winampsim {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; the five holes stay as they are.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Playlists made on Windows are often in its code page; UTF-8 wins when the bytes are
// valid UTF-8.
QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF))) {
            text.remove(0, 1);
        }
        return text;
    }
    text.clear();
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte >= 0x80 && byte < 0xA0 ? QChar(Cp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

QString TitleFromEntry(const QString& entry) {
    QString name = entry.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0) {
        name.truncate(dot);
    }
    return name.isEmpty() ? entry : name;
}

}  // namespace

PlaylistLoad ParseM3u(const QByteArray& bytes, const QString& name, const QString& folder) {
    PlaylistLoad result;
    const QStringList lines =
        DecodeText(bytes).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));

    int pendingLength = 0;  // 0: no usable length before the next entry
    QString pendingTitle;
    QString pendingProblem;
    bool anyLength = false;
    QString firstError;

    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i) + 1;
        const QString line = lines[i].trimmed();
        if (line.isEmpty()) {
            continue;
        }
        if (line.startsWith(QLatin1String("#EXTINF:"), Qt::CaseInsensitive)) {
            const QString info = line.mid(8);
            const qsizetype comma = info.indexOf(QLatin1Char(','));
            const QString lengthText =
                (comma < 0 ? info : info.left(comma)).trimmed().section(QLatin1Char(' '), 0, 0);
            pendingTitle = comma < 0 ? QString() : info.mid(comma + 1).trimmed();
            bool ok = false;
            const int length = lengthText.toInt(&ok);
            if (ok && length > 0 && length <= MaxTrackLengthS) {
                pendingLength = length;
                pendingProblem.clear();
            } else {
                pendingLength = 0;
                pendingProblem =
                    QStringLiteral(" (line %1 gives \"%2\", not whole seconds from 1 to %3)")
                        .arg(QString::number(lineNo), lengthText, QString::number(MaxTrackLengthS));
            }
            continue;
        }
        if (line.startsWith(QLatin1Char('#'))) {
            continue;  // #EXTM3U and other comments
        }
        if (pendingLength > 0) {
            anyLength = true;
            result.Tracks.append(Track{pendingTitle.isEmpty() ? TitleFromEntry(line) : pendingTitle,
                                       pendingLength, winamp::MediaFile(line, folder)});
        } else if (firstError.isEmpty()) {
            firstError = QStringLiteral(
                             "%1:%2: \"%3\" has no length%4; put an "
                             "\"#EXTINF:<seconds>,<title>\" line before it")
                             .arg(name, QString::number(lineNo), line, pendingProblem);
        }
        pendingLength = 0;
        pendingTitle.clear();
        pendingProblem.clear();
    }

    if (result.Tracks.isEmpty() && firstError.isEmpty()) {
        result.Error = QStringLiteral("%1: the playlist holds no tracks").arg(name);
    } else if (!anyLength) {
        result.Error = QStringLiteral(
                           "%1: no track has a length; every entry needs an "
                           "\"#EXTINF:<seconds>,<title>\" line before it")
                           .arg(name);
    } else if (!firstError.isEmpty()) {
        result.Error = firstError;
    }
    result.Ok = result.Error.isEmpty();
    if (!result.Ok) {
        result.Tracks.clear();
    }
    return result;
}

PlaylistLoad LoadM3u(const QString& path) {
    const std::optional<QByteArray> bytes =
        lyrics::ReadRegularFile(path, lyrics::FieldReader::MaxFileSize);
    if (!bytes) {
        PlaylistLoad result;
        result.Error = QStringLiteral(
                           "cannot open playlist %1: it is missing, unreadable, too big or not "
                           "a regular file")
                           .arg(path);
        return result;
    }
    return ParseM3u(*bytes, path, QFileInfo(path).absolutePath());
}

TrackList GenerateTracks(int count, int lengthS) {
    TrackList tracks;
    for (int i = 1; i <= count; ++i) {
        tracks.append(Track{QStringLiteral("Track %1").arg(i), lengthS, {}});
    }
    return tracks;
}

}  // namespace winampsim
