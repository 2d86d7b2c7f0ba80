#include "online/SyncedText.h"

#include <QDir>
#include <QRegularExpression>

#include "lyrics/DelimitedFile.h"
#include "lyrics/LrcFile.h"

namespace online {

namespace {

constexpr qsizetype NamePartLength = 100;

const QRegularExpression LineStamps(QStringLiteral("^\\s*(\\[\\d+:\\d+(?:[.:]\\d+)?\\]\\s*)+"));
const QRegularExpression WordStamps(QStringLiteral("<\\d+:\\d+(?:[.:]\\d+)?>"));
const QRegularExpression TagLine(QStringLiteral("^\\s*\\[[A-Za-z#]+:[^\\]]*\\]\\s*$"));

QString NamePart(const QString& text) {
    QString part = text.trimmed().left(NamePartLength);
    for (QChar& c : part) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c)) {
            c = u'_';
        }
    }
    return part;
}

QStringList Lines(const QString& text) {
    return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(u'\n');
}

}  // namespace

QString LrcFileName(const QString& artist, const QString& title) {
    return NamePart(artist) + QStringLiteral(" - ") + NamePart(title) + QStringLiteral(".lrc");
}

QString SaveSyncedLrc(const LyricsRecord& record, const QString& folder) {
    if (!record.SyncedLyrics) {
        return {};
    }
    QStringList lines = {QStringLiteral("[ti:%1]").arg(record.TrackName.simplified()),
                         QStringLiteral("[ar:%1]").arg(record.ArtistName.simplified())};
    if (!record.AlbumName.isEmpty()) {
        lines.append(QStringLiteral("[al:%1]").arg(record.AlbumName.simplified()));
    }
    for (const QString& line : Lines(*record.SyncedLyrics)) {
        if (!line.trimmed().isEmpty()) {
            lines.append(line);
        }
    }
    const QByteArray bytes =
        lyrics::EncodeText(lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n"));
    lyrics::LyricLines check;
    if (!lyrics::ReadLrc(bytes, record.TrackName, check)) {
        return {};
    }
    const QString path = QDir(folder).filePath(LrcFileName(record.ArtistName, record.TrackName));
    return lyrics::SaveBytes(path, bytes).Saved() ? path : QString();
}

QString SyncedFromTable(const lyrics::LyricLines& table) {
    QStringList kept;
    for (const QString& line : Lines(lyrics::LrcText(table))) {
        // The empty line the table holds before the first sung one is no lyric of its own.
        const bool leadingBlank = kept.isEmpty() && QString(line).remove(LineStamps).isEmpty();
        if (!line.isEmpty() && !leadingBlank && !TagLine.match(line).hasMatch()) {
            kept.append(line);
        }
    }
    return kept.join(u'\n');
}

QString PlainFromSynced(const QString& synced) {
    QStringList plain;
    for (const QString& line : Lines(synced)) {
        if (TagLine.match(line).hasMatch()) {
            continue;
        }
        const QString text = QString(line).remove(LineStamps).remove(WordStamps).trimmed();
        if (!text.isEmpty() || (!plain.isEmpty() && !plain.last().isEmpty())) {
            plain.append(text);
        }
    }
    while (!plain.isEmpty() && plain.last().isEmpty()) {
        plain.removeLast();
    }
    return plain.join(u'\n');
}

}  // namespace online
