#pragma once
// The last place the player looks for a song's lyrics: the open lyrics database. It asks
// only once the listener has said yes, never holds the caller, and keeps the synced lyrics it
// finds as an LRC file in the lyrics library, so the song is found locally next time.
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "online/LrclibClient.h"

namespace player {

struct OnlineAnswer {
    enum class Kind {
        Synced,     // saved into the library: Path
        PlainOnly,  // words without times, for the encoder to time
        None,       // the database knows no lyrics for the song
        Failed,     // the database could not be asked, or the lyrics not saved
    };
    Kind What = Kind::None;
    QString Artist;  // as asked
    QString Title;
    QString Path;
    online::LyricsRecord Record;
    // None and Failed: "No lyrics for Artist - Title", and for Failed why ("the lyrics
    // database did not answer in time").
    QString Message;
    QString Reason;
};

// What a record the database gave becomes: synced lyrics saved into folder, plain lyrics to
// time, or nothing to show.
OnlineAnswer TakeRecord(const online::LyricsRecord& record, const QString& folder);

// The words for a song the database has no lyrics for, or could not be asked about.
QString NoLyricsText(const QString& artist, const QString& title);

// The database's matches as the listener sees them: synced lyrics first, then plain ones, then
// none; among equals the length closest to the song's (when known, above 0) first; otherwise in
// the database's order.
QList<online::LyricsRecord> OrderMatches(QList<online::LyricsRecord> records, double songS);
// Lines a match offers the encoder: its plain lyrics, else the words of its synced ones.
QString TextToTime(const online::LyricsRecord& record);
bool HasSynced(const online::LyricsRecord& record);

class OnlineLyrics : public QObject {
    Q_OBJECT
  public:
    // confPath keeps the listener's answer; folder receives what is found.
    OnlineLyrics(online::LrclibClient& client, QString confPath, QObject* parent = nullptr);

    // The answer cantorix.conf holds: nullopt until the listener has been asked.
    void SetAllowed(std::optional<bool> allowed) { this->allowed = allowed; }
    std::optional<bool> Allowed() const { return allowed; }
    // The check item: kept at once.
    void Allow(bool on);
    // Asked once, the first time a song has no lyrics; true allows the database.
    void SetQuestion(std::function<bool()> ask) { question = std::move(ask); }
    void SetFolder(const QString& folder) { this->folder = folder; }

    // Asks the database for the song, unless the listener said no (or says no now): false then,
    // and nothing leaves the machine. Answered follows once; an Ask made meanwhile takes the
    // place of this one, whose answer is dropped.
    bool Ask(const QString& artist, const QString& title, const QString& album, double durationS);

  signals:
    void AllowedChanged(bool on);
    void Answered(const player::OnlineAnswer& answer);

  private:
    online::LrclibClient& client;
    QString confPath;
    QString folder;
    std::optional<bool> allowed;
    std::function<bool()> question;
    quint64 asked = 0;
};

}  // namespace player

Q_DECLARE_METATYPE(player::OnlineAnswer)
