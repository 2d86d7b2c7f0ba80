#include "online/Record.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace online {

namespace {

// Text, or nullopt for a null or missing field; false in ok for any other kind.
std::optional<QString> OptionalText(const QJsonValue& value, bool& ok) {
    if (value.isNull() || value.isUndefined()) {
        return std::nullopt;
    }
    ok = ok && value.isString();
    return value.toString();
}

}  // namespace

std::optional<LyricsRecord> ParseRecord(const QJsonObject& object) {
    bool ok = true;
    LyricsRecord record;
    record.Id = qint64(object.value(QLatin1String("id")).toDouble());
    record.TrackName =
        OptionalText(object.value(QLatin1String("trackName")), ok).value_or(QString());
    record.ArtistName =
        OptionalText(object.value(QLatin1String("artistName")), ok).value_or(QString());
    record.AlbumName =
        OptionalText(object.value(QLatin1String("albumName")), ok).value_or(QString());
    record.Duration = object.value(QLatin1String("duration")).toDouble();
    record.Instrumental = object.value(QLatin1String("instrumental")).toBool();
    record.PlainLyrics = OptionalText(object.value(QLatin1String("plainLyrics")), ok);
    record.SyncedLyrics = OptionalText(object.value(QLatin1String("syncedLyrics")), ok);
    if (!ok) {
        return std::nullopt;
    }
    return record;
}

std::optional<QList<LyricsRecord>> ParseRecords(const QByteArray& body, bool list) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        return std::nullopt;
    }
    QJsonArray items;
    if (list && document.isArray()) {
        items = document.array();
    } else if (!list && document.isObject()) {
        items.append(document.object());
    } else {
        return std::nullopt;
    }
    QList<LyricsRecord> records;
    for (const QJsonValue& item : items) {
        const std::optional<LyricsRecord> record =
            item.isObject() ? ParseRecord(item.toObject()) : std::nullopt;
        if (!record) {
            return std::nullopt;
        }
        records.append(*record);
    }
    return records;
}

}  // namespace online
