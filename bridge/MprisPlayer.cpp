#include "bridge/MprisPlayer.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusVariant>
#include <QUrl>

#include "bridge/Say.h"
#include "winamp/MediaFile.h"

namespace bridge {

namespace {
const QString Prefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString Path = QStringLiteral("/org/mpris/MediaPlayer2");
const QString Root = QStringLiteral("org.mpris.MediaPlayer2");
const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString TrackListInterface = QStringLiteral("org.mpris.MediaPlayer2.TrackList");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int FindMs = 1000;

// Properties come as variants that may still hold D-Bus arguments.
QVariant Unwrap(const QVariant& value) {
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
}
template <class T>
T Cast(const QVariant& wrapped) {
    const QVariant value = Unwrap(wrapped);
    return value.canConvert<QDBusArgument>() ? qdbus_cast<T>(value.value<QDBusArgument>())
                                             : value.value<T>();
}
}  // namespace

MprisPlayer::MprisPlayer(const QString& name, QObject* parent)
    : QObject(parent), wanted(name), bus(QDBusConnection::sessionBus()) {
    qDBusRegisterMetaType<QList<QDBusObjectPath>>();
    watcher.setConnection(bus);
    watcher.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, this, &MprisPlayer::Lost);
    findTimer.setInterval(FindMs);
    connect(&findTimer, &QTimer::timeout, this, &MprisPlayer::Find);
    betweenTracks.setSingleShot(true);
    betweenTracks.setInterval(BetweenTracksMs);
    connect(&betweenTracks, &QTimer::timeout, this, &MprisPlayer::ReportStatus);
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

void MprisPlayer::Ask(const QDBusMessage& message,
                      const std::function<void(const QDBusMessage&)>& done) {
    auto* call = new QDBusPendingCallWatcher(bus.asyncCall(message), this);
    const QString askedOf = message.service();
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, done, askedOf](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusMessage reply = w->reply();
                if (reply.type() == QDBusMessage::ReplyMessage &&
                    (askedOf == service || askedOf == "org.freedesktop.DBus")) {
                    done(reply);
                }
            });
}

QDBusMessage MprisPlayer::PropertyCall(const QString& method, const QString& interface) const {
    return QDBusMessage::createMethodCall(service, Path, Properties, method) << interface;
}

void MprisPlayer::Find() {
    Ask(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "ListNames"),
        [this](const QDBusMessage& reply) {
            if (!service.isEmpty()) {
                return;
            }
            for (const QString& name : reply.arguments().value(0).toStringList()) {
                if (name.startsWith(Prefix) && (wanted.isEmpty() || name.endsWith(wanted))) {
                    Use(name);
                    return;
                }
            }
        });
}

void MprisPlayer::Wire(bool on) {
    struct Signal {
        const QString& interface;
        const char* name;
        const char* slot;
    };
    const Signal all[] = {{Properties, "PropertiesChanged",
                           SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList))},
                          {PlayerInterface, "Seeked", SLOT(OnSeeked(qlonglong))},
                          {TrackListInterface, "TrackListReplaced", SLOT(OnTrackListChanged())},
                          {TrackListInterface, "TrackAdded", SLOT(OnTrackListChanged())},
                          {TrackListInterface, "TrackRemoved", SLOT(OnTrackListChanged())}};
    for (const Signal& s : all) {
        on ? bus.connect(service, Path, s.interface, s.name, this, s.slot)
           : bus.disconnect(service, Path, s.interface, s.name, this, s.slot);
    }
}

void MprisPlayer::Use(const QString& name) {
    findTimer.stop();
    service = name;
    betweenTracks.stop();
    playerStatus = QStringLiteral("Stopped");
    stopHeld = false;
    trackId = QDBusObjectPath();
    trackKey.clear();
    hasTrackList = false;
    tracks.clear();
    watcher.setWatchedServices({service});
    Wire(true);
    bridge->Connected(true);
    Ask(PropertyCall("GetAll", PlayerInterface), [this](const QDBusMessage& reply) {
        Apply(Cast<QVariantMap>(reply.arguments().value(0)));
    });
    Ask(PropertyCall("Get", Root) << QStringLiteral("HasTrackList"),
        [this](const QDBusMessage& reply) {
            hasTrackList = Unwrap(reply.arguments().value(0)).toBool();
            ReadTrackList();
        });
    Say(QStringLiteral("connected to MPRIS player %1").arg(service));
}

void MprisPlayer::Lost() {
    if (service.isEmpty()) {
        return;
    }
    Wire(false);
    betweenTracks.stop();
    watcher.setWatchedServices({});
    Say(QStringLiteral("MPRIS player %1 has gone; waiting for a player").arg(service));
    service.clear();
    bridge->Connected(false);
    findTimer.start();
}

void MprisPlayer::OnPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                      const QStringList& invalidated) {
    if (interface == PlayerInterface) {
        Apply(changed);
    } else if (interface == TrackListInterface &&
               (changed.contains("Tracks") || invalidated.contains("Tracks"))) {
        OnTrackListChanged();
    }
}

void MprisPlayer::OnSeeked(qlonglong positionUs) {
    bridge->Restarted();
    bridge->PositionReported(positionUs / 1000);
}

void MprisPlayer::OnTrackListChanged() {
    ReadTrackList();
}

void MprisPlayer::ReadTrackList() {
    if (!hasTrackList) {
        return;
    }
    Ask(PropertyCall("Get", TrackListInterface) << QStringLiteral("Tracks"),
        [this](const QDBusMessage& reply) {
            tracks = Cast<QList<QDBusObjectPath>>(reply.arguments().value(0));
            ReportList();
        });
}

void MprisPlayer::ReportList() {
    if (hasTrackList) {
        bridge->ListReported(int(tracks.size()), int(tracks.indexOf(trackId)));
    }
}

void MprisPlayer::Apply(const QVariantMap& properties) {
    // The state first: a new track that comes with "Playing" is met as one that plays.
    if (properties.contains("PlaybackStatus")) {
        const QString was = playerStatus;
        playerStatus = Unwrap(properties.value("PlaybackStatus")).toString();
        if (playerStatus == "Playing") {
            stopHeld = false;
        }
        if (playerStatus == "Stopped" && betweenTracks.isActive()) {
            // Told again (VLC tells everything twice): still waiting for the next track.
        } else if (playerStatus == "Stopped" && was == "Playing" && !stopHeld &&
                   bridge->PositionMs() >= bridge->LengthS() * 1000 - Bridge::NearEndMs) {
            betweenTracks.start();
        } else {
            betweenTracks.stop();
            ReportStatus();
        }
    }
    if (properties.contains("Metadata")) {
        const auto metadata = Cast<QVariantMap>(properties.value("Metadata"));
        const auto id = Cast<QDBusObjectPath>(metadata.value("mpris:trackid"));
        const QString url = Unwrap(metadata.value("xesam:url")).toString();
        const qint64 lengthMs = Unwrap(metadata.value("mpris:length")).toLongLong() / 1000;
        // Some players keep one id for every track, or give two tracks the same one.
        const QString key =
            id.path() + '\n' + url + '\n' + (url.isEmpty() ? QString::number(lengthMs) : QString());
        const bool changed = !trackKey.isEmpty() && key != trackKey;
        trackKey = key;
        trackId = id;  // a stop there rewinds the new track
        if (changed) {
            bridge->TrackChanged();  // while the old track's length still holds
        }
        bridge->LengthReported(lengthMs);
        const QString title = Unwrap(metadata.value("xesam:title")).toString();
        bridge->TrackReported(Cast<QStringList>(metadata.value("xesam:artist")).join(", "),
                              title.isEmpty() ? QUrl(url).fileName() : title,
                              url.startsWith("file:") ? winamp::MediaFile(url, {}) : QString());
        ReportList();
    }
    if (properties.contains("Rate")) {
        bridge->RateChanged(Unwrap(properties.value("Rate")).toDouble());
    }
    if (properties.contains("Volume")) {
        bridge->VolumeReported(Unwrap(properties.value("Volume")).toDouble());
    }
    if (properties.contains("Metadata") || properties.contains("PlaybackStatus")) {
        RefreshPosition();
    }
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
void MprisPlayer::RefreshPosition() {
    if (service.isEmpty() || stopHeld) {
        return;
    }
    Ask(PropertyCall("Get", PlayerInterface) << QStringLiteral("Position"),
        [this](const QDBusMessage& reply) {
            if (!stopHeld) {
                bridge->PositionReported(Unwrap(reply.arguments().value(0)).toLongLong() / 1000);
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

void MprisPlayer::PlayEntry(int entry) {
    stopHeld = false;
    QDBusObjectPath track = trackId;
    if (entry >= 0 && entry < tracks.size()) {
        track = tracks[entry];
        Call(TrackListInterface, "GoTo", {QVariant::fromValue(track)});
    }
    Call(PlayerInterface, "SetPosition", {QVariant::fromValue(track), qlonglong(0)});
    Call(PlayerInterface, "Play");
    RefreshPosition();
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
    RefreshPosition();
}

void MprisPlayer::SetVolume(double volume) {
    SetProperty("Volume", volume);
}

void MprisPlayer::Next() {
    Call(PlayerInterface, "Next");
}

void MprisPlayer::Previous() {
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
