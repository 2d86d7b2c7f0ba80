#pragma once
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QTimer>
#include <QVariantMap>
#include <functional>

#include "bridge/Bridge.h"
#include "bridge/Player.h"

namespace bridge {

// Any MPRIS player on the session bus: the first whose bus name ends in the given name
// (any player when it is empty). Calls go out without waiting for their replies. It follows
// the player by its signals (PropertiesChanged, Seeked); the position is asked for on each
// of them and when the bridge wants a fresh one, never while paused or stopped.
//
// MPRIS players' Stop differs: some forget their playlist (mpv's plug-in), so a Stop is
// a pause at the start of the track that the bridge reports as stopped until the player
// plays again. Where the player offers its track list (the TrackList interface) the bridge
// sees it as Winamp's playlist; otherwise it answers an empty one, and Play restarts the
// track the player has loaded. A player cannot be told to stop at the end of a track, so
// the bridge learns of each new track (TrackChanged) from whatever tells it: another
// track id, file or length (players may keep one id for every track), or a Seeked back to
// the start from the end of the track. Some players (VLC) say they have stopped for a moment
// between two tracks: a stop near the end of the track is told only when no new track
// follows within BetweenTracksMs.
class MprisPlayer : public QObject, public Player {
    Q_OBJECT
  public:
    static constexpr int BetweenTracksMs = 1000;

    explicit MprisPlayer(const QString& name, QObject* parent = nullptr);
    void Attach(Bridge& bridge) override;

    void PlayEntry(int entry) override;
    void SetPaused(bool paused) override;
    void Stop() override;
    void Seek(qint64 ms) override;
    void SetVolume(double volume) override;
    void Next() override;
    void Previous() override;
    void RefreshPosition() override;
    void HoldAtTrackEnd(bool) override {}
    void ShowPlaylist() override;
    void Quit() override;

  private slots:
    void OnPropertiesChanged(const QString& interface, const QVariantMap& changed,
                             const QStringList& invalidated);
    void OnSeeked(qlonglong positionUs);
    void OnTrackListChanged();

  private:
    void Find();
    void Wire(bool on);  // the player's signals to our slots, or off again
    void Use(const QString& service);
    void Lost();
    void Apply(const QVariantMap& properties);
    void ReportStatus();
    void ReadTrackList();
    void ReportList();
    // Calls the method and hands a valid reply to done while the player is still the same.
    void Ask(const QDBusMessage& call, const std::function<void(const QDBusMessage&)>& done);
    QDBusMessage PropertyCall(const QString& method, const QString& interface) const;
    void Call(const QString& interface, const QString& method, const QVariantList& args = {});
    void SetProperty(const QString& name, const QVariant& value);

    QString wanted;
    QDBusConnection bus;
    QString service;  // empty while not connected
    QDBusServiceWatcher watcher;
    QTimer findTimer;
    QTimer betweenTracks;  // a stop at the end of a track, not yet told
    Bridge* bridge = nullptr;
    QString playerStatus = QStringLiteral("Stopped");
    bool stopHeld = false;  // paused by our Stop: reported as stopped
    QDBusObjectPath trackId;
    QString trackKey;  // what tells this track from the one before; empty before the first
    bool hasTrackList = false;
    QList<QDBusObjectPath> tracks;
};

}  // namespace bridge
