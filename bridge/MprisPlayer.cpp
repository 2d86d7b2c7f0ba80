#include "bridge/MprisPlayer.h"

#include <QDBusArgument>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusVariant>

#include "bridge/Say.h"

namespace bridge {

namespace {
const QString Prefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString Path = QStringLiteral("/org/mpris/MediaPlayer2");
const QString Root = QStringLiteral("org.mpris.MediaPlayer2");
const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int FindMs = 1000;
constexpr int PositionMs = 100;

// Properties come as variants that may still hold D-Bus arguments.
QVariantMap ToMap(const QVariant& value) {
    return value.canConvert<QDBusArgument>() ? qdbus_cast<QVariantMap>(value.value<QDBusArgument>())
                                             : value.toMap();
}
QVariant Unwrap(const QVariant& value) {
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
}
}  // namespace

MprisPlayer::MprisPlayer(const QString& name, QObject* parent)
    : QObject(parent), wanted(name), bus(QDBusConnection::sessionBus()) {
    watcher.setConnection(bus);
    watcher.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, this, &MprisPlayer::Lost);
    findTimer.setInterval(FindMs);
    connect(&findTimer, &QTimer::timeout, this, &MprisPlayer::Find);
    positionTimer.setInterval(PositionMs);
    connect(&positionTimer, &QTimer::timeout, this, &MprisPlayer::AskPosition);
}

void MprisPlayer::Attach(Bridge& target) {
    bridge = &target;
    if (!bus.isConnected()) {
        Say(QStringLiteral("no session bus: %1").arg(bus.lastError().message()));
    }
    Say(wanted.isEmpty() ? QStringLiteral("waiting for an MPRIS player")
                         : QStringLiteral("waiting for an MPRIS player named %1").arg(wanted));
    Find();
    findTimer.start();
}

void MprisPlayer::Find() {
    auto* call = new QDBusPendingCallWatcher(
        bus.asyncCall(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                     "org.freedesktop.DBus", "ListNames")),
        this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusReply<QStringList> names = *w;
        if (!service.isEmpty() || !names.isValid()) {
            return;
        }
        for (const QString& name : names.value()) {
            if (name.startsWith(Prefix) && (wanted.isEmpty() || name.endsWith(wanted))) {
                Use(name);
                return;
            }
        }
    });
}

void MprisPlayer::Use(const QString& name) {
    findTimer.stop();
    service = name;
    playerStatus = QStringLiteral("Stopped");
    stopHeld = false;
    trackId = QDBusObjectPath();
    watcher.setWatchedServices({service});
    bus.connect(service, Path, Properties, "PropertiesChanged", this,
                SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList)));
    bus.connect(service, Path, PlayerInterface, "Seeked", this, SLOT(OnSeeked(qlonglong)));
    bridge->Connected(true);
    auto* call = new QDBusPendingCallWatcher(
        bus.asyncCall(QDBusMessage::createMethodCall(service, Path, Properties, "GetAll")
                      << PlayerInterface),
        this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusReply<QVariantMap> all = *w;
        if (all.isValid() && !service.isEmpty()) {
            Apply(all.value());
        }
    });
    positionTimer.start();
    Say(QStringLiteral("connected to MPRIS player %1").arg(service));
}

void MprisPlayer::Lost() {
    if (service.isEmpty()) {
        return;
    }
    bus.disconnect(service, Path, Properties, "PropertiesChanged", this,
                   SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList)));
    bus.disconnect(service, Path, PlayerInterface, "Seeked", this, SLOT(OnSeeked(qlonglong)));
    watcher.setWatchedServices({});
    positionTimer.stop();
    Say(QStringLiteral("MPRIS player %1 has gone; waiting for a player").arg(service));
    service.clear();
    bridge->Connected(false);
    findTimer.start();
}

void MprisPlayer::OnPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                      const QStringList&) {
    if (interface == PlayerInterface) {
        Apply(changed);
    }
}

void MprisPlayer::OnSeeked(qlonglong positionUs) {
    bridge->Restarted();
    bridge->PositionReported(positionUs / 1000);
}

void MprisPlayer::Apply(const QVariantMap& properties) {
    if (properties.contains("Metadata")) {
        const QVariantMap metadata = ToMap(Unwrap(properties.value("Metadata")));
        bridge->LengthReported(Unwrap(metadata.value("mpris:length")).toLongLong() / 1000);
        const auto id = Unwrap(metadata.value("mpris:trackid")).value<QDBusObjectPath>();
        if (id != trackId) {
            // Moved on by itself, unless we asked for it.
            const bool endedHere = !trackId.path().isEmpty() && !ownTrackChange;
            trackId = id;
            ownTrackChange = false;
            if (endedHere && playerStatus == "Playing") {
                bridge->TrackEnded();
            }
        }
    }
    if (properties.contains("Rate")) {
        bridge->RateChanged(Unwrap(properties.value("Rate")).toDouble());
    }
    if (properties.contains("Volume")) {
        bridge->VolumeReported(Unwrap(properties.value("Volume")).toDouble());
    }
    if (properties.contains("PlaybackStatus")) {
        playerStatus = Unwrap(properties.value("PlaybackStatus")).toString();
        if (playerStatus == "Playing") {
            stopHeld = false;
        }
        ReportStatus();
    }
    AskPosition();
}

void MprisPlayer::ReportStatus() {
    if (stopHeld || playerStatus == "Stopped") {
        bridge->StatusChanged(winamp::PlayState::Stopped);
    } else {
        bridge->StatusChanged(playerStatus == "Playing" ? winamp::PlayState::Playing
                                                        : winamp::PlayState::Paused);
    }
}

// The answer is the player's position when it answered, a few milliseconds ago at most.
void MprisPlayer::AskPosition() {
    if (service.isEmpty() || stopHeld) {
        return;
    }
    auto* call = new QDBusPendingCallWatcher(
        bus.asyncCall(QDBusMessage::createMethodCall(service, Path, Properties, "Get")
                      << PlayerInterface << QStringLiteral("Position")),
        this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusReply<QDBusVariant> position = *w;
        if (position.isValid() && !service.isEmpty() && !stopHeld) {
            bridge->PositionReported(position.value().variant().toLongLong() / 1000);
        }
    });
}

void MprisPlayer::Call(const QString& interface, const QString& method, const QVariantList& args) {
    if (service.isEmpty()) {
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(service, Path, interface, method);
    message.setArguments(args);
    bus.asyncCall(message);
}

void MprisPlayer::SetProperty(const QString& name, const QVariant& value) {
    Call(Properties, "Set", {PlayerInterface, name, QVariant::fromValue(QDBusVariant(value))});
}

void MprisPlayer::PlayEntry(int) {
    stopHeld = false;
    Call(PlayerInterface, "SetPosition", {QVariant::fromValue(trackId), qlonglong(0)});
    Call(PlayerInterface, "Play");
    AskPosition();
}

void MprisPlayer::SetPaused(bool paused) {
    Call(PlayerInterface, paused ? "Pause" : "Play");
}

void MprisPlayer::Stop() {
    stopHeld = true;
    Call(PlayerInterface, "Pause");
    Call(PlayerInterface, "SetPosition", {QVariant::fromValue(trackId), qlonglong(0)});
}

void MprisPlayer::Seek(qint64 ms) {
    Call(PlayerInterface, "SetPosition", {QVariant::fromValue(trackId), qlonglong(ms * 1000)});
    AskPosition();
}

void MprisPlayer::SetVolume(double volume) {
    SetProperty("Volume", volume);
}

void MprisPlayer::Next() {
    ownTrackChange = true;
    Call(PlayerInterface, "Next");
}

void MprisPlayer::Previous() {
    ownTrackChange = true;
    Call(PlayerInterface, "Previous");
}

// Raising the player's window is the nearest thing MPRIS has to a jump-to-file dialog.
void MprisPlayer::ShowPlaylist() {
    Call(Root, "Raise");
}

void MprisPlayer::Quit() {
    Call(Root, "Quit");
}

}  // namespace bridge
