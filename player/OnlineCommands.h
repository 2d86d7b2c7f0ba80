#pragma once
// The player's commands over the open lyrics database: "Search Online..." with its dialog,
// the check item that allows the lookup of missing lyrics, the first-time question, and what
// the window does with what arrives.
#include <QObject>
#include <functional>
#include <optional>

#include "online/LrclibClient.h"
#include "player/OnlineLyrics.h"

class QAction;
class QDialog;
class QWidget;

namespace winamp {
class WinampLink;
}

namespace player {

class LyricsLookup;

class OnlineCommands : public QObject {
    Q_OBJECT
  public:
    using EncoderStarter = std::function<bool(const QString& title, const QString& text)>;

    OnlineCommands(winamp::WinampLink& winamp, QWidget* owner,
                   std::function<void(QDialog*)> showDialog);

    // "Search Online...", for the Playlist menu and the lyrics pane's right click.
    QAction* SearchItem() const { return itmLOnline; }
    // "Search Online for &Missing Lyrics", checked while the lookup is allowed.
    QAction* AllowItem() const { return itmSOnline; }

    OnlineLyrics& Lyrics() { return lyrics; }
    // cantorix.conf's answer, read at start-up.
    void SetAllowed(std::optional<bool> allowed);
    // StartEncoder, unless a test puts something else in its place.
    void SetEncoderStarter(EncoderStarter start) { startEncoder = std::move(start); }
    // The last step of the lookup: its songs found nowhere here are asked for, and what
    // arrives for the song it still misses is its find.
    void Serve(LyricsLookup& lookup);

  public slots:
    void itmLOnline_Click();
    void itmSOnline_Click();
    // The song Winamp plays has no lyrics here: asks the database, when allowed.
    void FindMissing();

  signals:
    // Synced lyrics saved into the library: the window shows them.
    void LyricsFound(const QString& path);
    // Words for the lyrics pane: no lyrics found for the song, and why when it failed.
    void Say(const QString& line, const QString& reason);

  private:
    void TakeAnswer(const OnlineAnswer& answer);
    void TimeInEncoder(const online::LyricsRecord& record);

    QAction* itmLOnline;
    QAction* itmSOnline;
    winamp::WinampLink& winamp;
    QWidget* owner;
    std::function<void(QDialog*)> showDialog;
    online::LrclibClient client;
    OnlineLyrics lyrics;
    EncoderStarter startEncoder;
    LyricsLookup* asking = nullptr;  // the lookup the pending ask is for
};

}  // namespace player
