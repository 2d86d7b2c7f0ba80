#include "player/OnlineMatches.h"

#include <cmath>

#include "player/OnlineLyrics.h"

namespace player {

namespace {

QString LengthText(double seconds) {
    const long long s = std::llround(seconds);
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString LyricsKind(const online::LyricsRecord& record) {
    if (HasSynced(record)) {
        return QStringLiteral("synced");
    }
    if (!TextToTime(record).isEmpty()) {
        return QStringLiteral("plain");
    }
    return record.Instrumental ? QStringLiteral("instrumental") : QStringLiteral("none");
}

}  // namespace

void OnlineMatches::SetMatches(const QList<online::LyricsRecord>& records, double songS) {
    beginResetModel();
    matches = OrderMatches(records, songS);
    endResetModel();
}

int OnlineMatches::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(matches.size());
}

int OnlineMatches::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant OnlineMatches::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= matches.size()) {
        return {};
    }
    const online::LyricsRecord& record = matches[index.row()];
    switch (index.column()) {
        case Artist:
            return record.ArtistName;
        case Title:
            return record.TrackName;
        case Album:
            return record.AlbumName;
        case Length:
            return LengthText(record.Duration);
        case Lyrics:
            return LyricsKind(record);
        default:
            return {};
    }
}

QVariant OnlineMatches::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return {};
    }
    static const QStringList Headers{QStringLiteral("Artist"), QStringLiteral("Title"),
                                     QStringLiteral("Album"), QStringLiteral("Length"),
                                     QStringLiteral("Lyrics")};
    return Headers.value(section);
}

}  // namespace player
