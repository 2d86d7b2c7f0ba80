#pragma once
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include "bridge/Bridge.h"
#include "bridge/Player.h"

namespace bridge {

// Any MPRIS player on the session bus: the first whose bus name ends in the given name
// (any player when it is empty). Calls go out without waiting for their replies. MPRIS
// does not signal the position as it runs, so it is read on every change of state, on
// Seeked, and ten times a second while playing; the bridge runs it on by the clock in
// between, keeping the furthest of the steps in which players move it.
//
// MPRIS players' Stop differs: some forget their playlist (mpv's plug-in), so a Stop is
// a pause at the start of the track that the bridge reports as stopped until the player
// plays again. The bridge cannot see an MPRIS playlist: it answers an empty one, and Play
// restarts the track the player has loaded. A player cannot be told to stop at the end
// of a track, so the bridge stops it as soon as it has moved on to the next one.
class MprisPlayer : public QObject, public Player {
    Q_OBJECT
  public:
    explicit MprisPlayer(const QString& name, QObject* parent = nullptr);
    void Attach(Bridge& bridge) override;

    void PlayEntry(int entry) override;
    void SetPaused(bool paused) override;
    void Stop() override;
    void Seek(qint64 ms) override;
    void SetVolume(double volume) override;
    void Next() override;
    void Previous() override;
    void HoldAtTrackEnd(bool) override {}
    void ShowPlaylist() override;
    void Quit() override;

  private slots:
    void OnPropertiesChanged(const QString& interface, const QVariantMap& changed,
                             const QStringList& invalidated);
    void OnSeeked(qlonglong positionUs);

  private:
    void Find();
    void Use(const QString& service);
    void Lost();
    void Apply(const QVariantMap& properties);
    void AskPosition();
    void ReportStatus();
    void Call(const QString& interface, const QString& method, const QVariantList& args = {});
    void SetProperty(const QString& name, const QVariant& value);

    QString wanted;
    QDBusConnection bus;
    QString service;  // empty while not connected
    QDBusServiceWatcher watcher;
    QTimer findTimer;
    QTimer positionTimer;
    Bridge* bridge = nullptr;
    QString playerStatus = QStringLiteral("Stopped");
    bool stopHeld = false;  // paused by our Stop: reported as stopped
    QDBusObjectPath trackId;
    bool ownTrackChange = false;
};

}  // namespace bridge
