#pragma once
#include <QJsonArray>
#include <QJsonObject>
#include <QLocalSocket>
#include <QObject>
#include <QTimer>

#include "bridge/Bridge.h"
#include "bridge/Player.h"

namespace bridge {

// mpv through its JSON IPC socket (mpv --input-ipc-server=SOCKET). Watches the properties
// the bridge needs and passes their changes on; commands go out without waiting for
// mpv's replies. When mpv goes away it tells the bridge and tries again twice a second.
class MpvPlayer : public QObject, public Player {
    Q_OBJECT
  public:
    explicit MpvPlayer(const QString& socketPath, QObject* parent = nullptr);
    ~MpvPlayer() override;
    void Attach(Bridge& bridge) override;

    void PlayEntry(int entry) override;
    void SetPaused(bool paused) override;
    void Stop() override;
    void Seek(qint64 ms) override;
    void RefreshPosition() override;
    void SetVolume(double volume) override;
    void Next() override;
    void Previous() override;
    void HoldAtTrackEnd(bool hold) override;
    void ShowPlaylist() override;
    void Quit() override;

  private:
    void TryConnect();
    void OnConnected();
    void OnDisconnected();
    void OnReadyRead();
    void OnProperty(const QString& name, const QJsonValue& data);
    void Command(const QJsonArray& command);
    void ReportStatus();
    void ReportTrack();

    QString path;
    QLocalSocket socket;
    QTimer retry;
    Bridge* bridge = nullptr;
    QByteArray pending;
    bool connected = false;
    bool idle = true;
    bool paused = false;
    int count = 0;
    int current = -1;
    QJsonObject tags;  // of the file loaded
    QString mediaTitle;
    QString filePath;  // mpv's path: as given, perhaps relative to its working directory
    QString workingDirectory;
};

}  // namespace bridge
