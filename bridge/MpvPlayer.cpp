#include "bridge/MpvPlayer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "bridge/Say.h"
#include "winamp/MediaFile.h"

namespace bridge {

namespace {
constexpr int RetryMs = 500;
const char* const Watched[] = {"idle-active",      "pause",          "time-pos",    "duration",
                               "playlist-pos",     "playlist-count", "speed",       "volume",
                               "eof-reached",      "metadata",       "media-title", "path",
                               "working-directory"};

qint64 SecondsToMs(const QJsonValue& seconds) {
    return seconds.isDouble() ? std::llround(seconds.toDouble() * 1000.0) : 0;
}
}  // namespace

MpvPlayer::MpvPlayer(const QString& socketPath, QObject* parent)
    : QObject(parent), path(socketPath) {
    retry.setInterval(RetryMs);
    connect(&retry, &QTimer::timeout, this, &MpvPlayer::TryConnect);
    connect(&socket, &QLocalSocket::connected, this, &MpvPlayer::OnConnected);
    connect(&socket, &QLocalSocket::disconnected, this, &MpvPlayer::OnDisconnected);
    connect(&socket, &QLocalSocket::errorOccurred, this, [this] {
        if (!connected) {
            socket.abort();
        }
    });
    connect(&socket, &QLocalSocket::readyRead, this, &MpvPlayer::OnReadyRead);
}

// The socket closes as it goes, after this player's other members and perhaps the bridge
// are gone: that is no news to pass on.
MpvPlayer::~MpvPlayer() {
    socket.disconnect(this);
}

void MpvPlayer::Attach(Bridge& target) {
    bridge = &target;
    Say(QStringLiteral("waiting for mpv at %1").arg(path));
    TryConnect();
    retry.start();
}

void MpvPlayer::TryConnect() {
    if (socket.state() == QLocalSocket::UnconnectedState) {
        socket.connectToServer(path);
    }
}

void MpvPlayer::OnConnected() {
    retry.stop();
    connected = true;
    idle = true;
    paused = false;
    count = 0;
    current = -1;
    tags = {};
    mediaTitle.clear();
    filePath.clear();
    pending.clear();
    bridge->Connected(true);
    int id = 0;
    for (const char* name : Watched) {
        Command({"observe_property", ++id, name});
    }
    Say(QStringLiteral("connected to mpv at %1").arg(path));
}

void MpvPlayer::OnDisconnected() {
    if (!connected) {
        return;
    }
    connected = false;
    bridge->Connected(false);
    Say(QStringLiteral("mpv at %1 has gone; waiting for it to come back").arg(path));
    retry.start();
}

void MpvPlayer::OnReadyRead() {
    pending += socket.readAll();
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QJsonObject message = QJsonDocument::fromJson(pending.left(end)).object();
        pending.remove(0, end + 1);
        const QString event = message.value("event").toString();
        if (event == "property-change") {
            OnProperty(message.value("name").toString(), message.value("data"));
        } else if (event == "playback-restart") {
            bridge->Restarted();
        }
    }
}

void MpvPlayer::OnProperty(const QString& name, const QJsonValue& data) {
    if (name == "idle-active") {
        idle = data.toBool(true);
        ReportStatus();
    } else if (name == "pause") {
        paused = data.toBool();
        ReportStatus();
    } else if (name == "time-pos") {
        if (data.isDouble()) {
            bridge->PositionReported(SecondsToMs(data));
        }
    } else if (name == "duration") {
        bridge->LengthReported(SecondsToMs(data));
    } else if (name == "playlist-pos") {
        current = data.toInt(-1);
        bridge->ListReported(count, current);
    } else if (name == "playlist-count") {
        count = data.toInt(0);
        bridge->ListReported(count, current);
    } else if (name == "speed") {
        bridge->RateChanged(data.toDouble(1.0));
    } else if (name == "volume") {
        if (data.isDouble()) {
            bridge->VolumeReported(data.toDouble());
        }
    } else if (name == "eof-reached") {
        if (data.toBool()) {
            bridge->TrackEnded();
        }
    } else if (name == "metadata") {
        tags = data.toObject();
        ReportTrack();
    } else if (name == "media-title") {
        mediaTitle = data.toString();
        ReportTrack();
    } else if (name == "path") {
        filePath = data.toString();
        ReportTrack();
    } else if (name == "working-directory") {
        workingDirectory = data.toString();
        ReportTrack();
    }
}

// Tags as the file has them (any case); without a title tag, mpv's own title for the track
// (the file's name, or a stream's).
void MpvPlayer::ReportTrack() {
    QString artist, title;
    for (auto tag = tags.begin(); tag != tags.end(); ++tag) {
        if (tag.key().compare("artist", Qt::CaseInsensitive) == 0) {
            artist = tag.value().toString();
        } else if (tag.key().compare("title", Qt::CaseInsensitive) == 0) {
            title = tag.value().toString();
        }
    }
    // mpv's path is as it was given to it: a relative one is taken from mpv's folder.
    bridge->TrackReported(artist, title.isEmpty() ? mediaTitle : title,
                          winamp::MediaFile(filePath, workingDirectory));
}

void MpvPlayer::ReportStatus() {
    bridge->StatusChanged(idle     ? winamp::PlayState::Stopped
                          : paused ? winamp::PlayState::Paused
                                   : winamp::PlayState::Playing);
}

void MpvPlayer::Command(const QJsonArray& command) {
    if (connected) {
        socket.write(
            QJsonDocument(QJsonObject{{"command", command}}).toJson(QJsonDocument::Compact) + '\n');
    }
}

void MpvPlayer::PlayEntry(int entry) {
    Command({"set_property", "pause", false});
    if (entry >= 0) {
        Command({"playlist-play-index", entry});
    } else if (!idle) {
        Command({"seek", 0, "absolute"});
    } else {
        // Nothing loaded to play: say so once this command is done.
        QTimer::singleShot(0, this, [this] { ReportStatus(); });
    }
}

void MpvPlayer::SetPaused(bool pause) {
    Command({"set_property", "pause", pause});
}

void MpvPlayer::Stop() {
    // mpv's plain stop would clear its playlist.
    Command({"stop", "keep-playlist"});
}

void MpvPlayer::Seek(qint64 ms) {
    Command({"seek", double(ms) / 1000.0, "absolute+exact"});
}

// mpv reports its position as it runs (time-pos).
void MpvPlayer::RefreshPosition() {}

void MpvPlayer::SetVolume(double volume) {
    Command({"set_property", "volume", volume});
}

void MpvPlayer::Next() {
    Command({"playlist-next"});
}

void MpvPlayer::Previous() {
    Command({"playlist-prev"});
}

void MpvPlayer::HoldAtTrackEnd(bool hold) {
    Command({"set_property", "keep-open", hold ? "always" : "no"});
}

void MpvPlayer::ShowPlaylist() {
    Command({"show-text", "${playlist}", 5000});
}

void MpvPlayer::Quit() {
    Command({"quit"});
}

}  // namespace bridge
