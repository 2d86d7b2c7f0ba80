#include "support/LrclibStandIn.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>
#include <cmath>

namespace testsupport {

namespace {

QByteArray Json(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray ErrorBody(int code, const char* name, const char* message) {
    return Json({{"code", code}, {"name", name}, {"message", message}});
}

void Reply(QTcpSocket* socket, int status, const QByteArray& body, qint64 announced = -1) {
    socket->write("HTTP/1.1 " + QByteArray::number(status) +
                  " X\r\nContent-Type: application/json\r\nContent-Length: " +
                  QByteArray::number(announced < 0 ? body.size() : announced) +
                  "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}

}  // namespace

LrclibStandIn::LrclibStandIn(QObject* parent) : QObject(parent) {
    server.listen(QHostAddress::LocalHost, 0);
    connect(&server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                const QByteArray buffer = socket->peek(socket->bytesAvailable());
                const qsizetype end = buffer.indexOf("\r\n\r\n");
                if (end < 0) {
                    return;
                }
                const QList<QByteArray> lines = buffer.left(end).split('\n');
                const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
                Request request{first.value(0), first.value(1), {}, {}};
                for (qsizetype i = 1; i < lines.size(); ++i) {
                    const qsizetype colon = lines[i].indexOf(':');
                    request.Headers.insert(lines[i].left(colon).trimmed().toLower(),
                                           lines[i].mid(colon + 1).trimmed());
                }
                const qint64 length = request.Headers.value("content-length").toLongLong();
                if (buffer.size() < end + 4 + length) {
                    return;
                }
                request.Body = buffer.mid(end + 4, length);
                socket->read(end + 4 + length);
                Serve(socket, request);
            });
        }
    });
}

void LrclibStandIn::Serve(QTcpSocket* socket, const Request& request) {
    UserAgents.append(request.Headers.value("user-agent"));
    switch (Answer) {
        case Mode::Normal:
            return Route(socket, request);
        case Mode::Slow:
            return QTimer::singleShot(SlowMs, socket,
                                      [this, socket, request] { Route(socket, request); });
        case Mode::TooMany:
            return Reply(socket, 429, ErrorBody(429, "TooManyRequests", "Slow down"));
        case Mode::Broken:
            return Reply(socket, 500, "Internal Server Error");
        case Mode::InvalidJson:
            return Reply(socket, 200, R"({"id":3,"trackName":"Night Song","artistN)");
        case Mode::Dropped:
            return Reply(socket, 200, Json(Songs.value(0)).left(10), 1000);
        case Mode::Stall:
            return;
        case Mode::Oversized:
            return Reply(socket, 200, QByteArray(9 * 1024 * 1024, ' ') + Json(Songs.value(0)));
    }
}

void LrclibStandIn::Route(QTcpSocket* socket, const Request& request) {
    const QUrl url(QString::fromUtf8(request.Target));
    const QUrlQuery query(url);
    const auto item = [&query](const char* name) {
        return query.queryItemValue(QLatin1String(name), QUrl::FullyDecoded).toLower();
    };
    const auto field = [](const QJsonObject& song, const char* name) {
        return song.value(QLatin1String(name)).toString().toLower();
    };
    const QString path = url.path();
    if (request.Method == "GET" && path == QLatin1String("/api/get")) {
        for (const QJsonObject& song : Songs) {
            if (field(song, "artistName") == item("artist_name") &&
                field(song, "trackName") == item("track_name") &&
                std::abs(song.value("duration").toDouble() - item("duration").toDouble()) <= 2) {
                return Reply(socket, 200, Json(song));
            }
        }
        Reply(socket, 404, ErrorBody(404, "TrackNotFound", "Failed to find specified track"));
    } else if (request.Method == "GET" && path == QLatin1String("/api/search")) {
        const QStringList words = item("q").split(u' ', Qt::SkipEmptyParts);
        QJsonArray found;
        for (const QJsonObject& song : Songs) {
            const QString text = field(song, "artistName") + u' ' + field(song, "trackName");
            if (std::all_of(words.begin(), words.end(),
                            [&](const QString& w) { return text.contains(w); })) {
                found.append(song);
            }
        }
        Reply(socket, 200, QJsonDocument(found).toJson(QJsonDocument::Compact));
    } else if (request.Method == "POST" && path == QLatin1String("/api/request-challenge")) {
        const QByteArray prefix = QByteArray::number(QRandomGenerator::global()->generate64(), 16);
        Issued.insert(prefix);
        Reply(socket, 200,
              Json({{"prefix", QString::fromLatin1(prefix)},
                    {"target", QString::fromLatin1(TargetHex)}}));
    } else if (request.Method == "POST" && path == QLatin1String("/api/publish")) {
        Publish(socket, request);
    } else {
        Reply(socket, 404, ErrorBody(404, "NotFound", "No such route"));
    }
}

void LrclibStandIn::Publish(QTcpSocket* socket, const Request& request) {
    // "prefix:nonce", its hash at most the target; hex digits of equal length compare as the
    // bytes they stand for.
    const QByteArray token = request.Headers.value("x-publish-token");
    const qsizetype colon = token.indexOf(':');
    const QByteArray prefix = token.left(colon);
    const QByteArray hash =
        QCryptographicHash::hash(prefix + token.mid(colon + 1), QCryptographicHash::Sha256).toHex();
    if (colon <= 0 || !Issued.remove(prefix) || hash > TargetHex.toLower()) {
        return Reply(
            socket, 400,
            ErrorBody(400, "IncorrectPublishToken", "The provided publish token is incorrect"));
    }
    Published.append(QJsonDocument::fromJson(request.Body).object());
    Reply(socket, 201, {});
}

}  // namespace testsupport
