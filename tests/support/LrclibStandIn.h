#pragma once
// The open lyrics database's API on 127.0.0.1 over plain HTTP, with a real server's faults;
// publishing checks the nonce by the database's rule.
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>

namespace testsupport {

class LrclibStandIn : public QObject {
    Q_OBJECT
  public:
    enum class Mode { Normal, Slow, TooMany, Broken, InvalidJson, Dropped, Stall, Oversized };

    explicit LrclibStandIn(QObject* parent = nullptr);

    // For CANTORIX_LRCLIB_URL.
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort()); }
    void Close() { server.close(); }

    Mode Answer = Mode::Normal;  // how every request is answered from now on
    int SlowMs = 300;
    QList<QJsonObject> Songs;                           // what /api/get and /api/search find
    QByteArray TargetHex = "00" + QByteArray(62, 'f');  // the challenges' target, 64 hex digits
    QList<QByteArray> UserAgents;                       // of each request
    QList<QJsonObject> Published;                       // bodies of the songs published
    QSet<QByteArray> Issued;                            // prefixes handed out and not used yet

  private:
    struct Request {
        QByteArray Method;
        QByteArray Target;
        QHash<QByteArray, QByteArray> Headers;  // names in lower case
        QByteArray Body;
    };
    void Serve(QTcpSocket* socket, const Request& request);
    void Route(QTcpSocket* socket, const Request& request);
    void Publish(QTcpSocket* socket, const Request& request);

    QTcpServer server;
};

}  // namespace testsupport
