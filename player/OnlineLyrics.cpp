#include "player/OnlineLyrics.h"

#include <QDir>
#include <algorithm>
#include <cmath>

#include "lyrics/ConfFile.h"
#include "online/SyncedText.h"

namespace player {

namespace {

int LyricsRank(const online::LyricsRecord& record) {
    if (HasSynced(record)) {
        return 0;
    }
    return TextToTime(record).isEmpty() ? 2 : 1;
}

QString SongName(const QString& artist, const QString& title) {
    return artist.isEmpty() ? title : artist + QStringLiteral(" - ") + title;
}

}  // namespace

bool HasSynced(const online::LyricsRecord& record) {
    return record.SyncedLyrics && !record.SyncedLyrics->trimmed().isEmpty();
}

QString TextToTime(const online::LyricsRecord& record) {
    if (record.PlainLyrics && !record.PlainLyrics->trimmed().isEmpty()) {
        return record.PlainLyrics->trimmed();
    }
    return record.SyncedLyrics ? online::PlainFromSynced(*record.SyncedLyrics) : QString();
}

QString NoLyricsText(const QString& artist, const QString& title) {
    return QStringLiteral("No lyrics for ") + SongName(artist, title);
}

OnlineAnswer TakeRecord(const online::LyricsRecord& record, const QString& folder) {
    OnlineAnswer answer;
    answer.Record = record;
    if (HasSynced(record)) {
        QDir().mkpath(folder);
        answer.Path = online::SaveSyncedLrc(record, folder);
        answer.What =
            answer.Path.isEmpty() ? OnlineAnswer::Kind::Failed : OnlineAnswer::Kind::Synced;
        if (answer.Path.isEmpty()) {
            answer.Message = NoLyricsText(record.ArtistName, record.TrackName);
            answer.Reason = QStringLiteral("could not keep them in the lyrics library ") + folder;
        }
    } else {
        answer.What =
            TextToTime(record).isEmpty() ? OnlineAnswer::Kind::None : OnlineAnswer::Kind::PlainOnly;
    }
    return answer;
}

QList<online::LyricsRecord> OrderMatches(QList<online::LyricsRecord> records, double songS) {
    const auto distance = [songS](const online::LyricsRecord& r) {
        return songS > 0 ? std::abs(r.Duration - songS) : 0.0;
    };
    std::stable_sort(records.begin(), records.end(), [&](const auto& a, const auto& b) {
        const int rankA = LyricsRank(a);
        const int rankB = LyricsRank(b);
        return rankA != rankB ? rankA < rankB : distance(a) < distance(b);
    });
    return records;
}

OnlineLyrics::OnlineLyrics(online::LrclibClient& client, QString confPath, QObject* parent)
    : QObject(parent), client(client), confPath(std::move(confPath)) {
    qRegisterMetaType<player::OnlineAnswer>();
}

void OnlineLyrics::Allow(bool on) {
    allowed = on;
    // A file that cannot take the answer only means the question comes again next time.
    lyrics::WriteSearchOnline(confPath, on);
    emit AllowedChanged(on);
}

bool OnlineLyrics::Ask(const QString& artist, const QString& title, const QString& album,
                       double durationS) {
    if (title.isEmpty()) {
        return false;
    }
    if (!allowed) {
        if (!question) {
            return false;
        }
        Allow(question());
    }
    if (!*allowed) {
        return false;
    }
    const quint64 ticket = ++asked;
    connect(client.Get(artist, title, album, durationS), &online::LrclibRequest::Finished, this,
            [this, ticket, artist, title](const online::Result& result) {
                if (ticket != asked) {
                    return;
                }
                OnlineAnswer answer;
                if (result.What == online::Outcome::Ok && !result.Records.isEmpty()) {
                    answer = TakeRecord(result.Records.first(), folder);
                } else if (result.What != online::Outcome::NotFound) {
                    answer.What = OnlineAnswer::Kind::Failed;
                    answer.Reason = online::Describe(result.What);
                }
                if (answer.What == OnlineAnswer::Kind::None ||
                    answer.What == OnlineAnswer::Kind::Failed) {
                    answer.Message = NoLyricsText(artist, title);
                }
                answer.Artist = artist;
                answer.Title = title;
                emit Answered(answer);
            });
    return true;
}

}  // namespace player
