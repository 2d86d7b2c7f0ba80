#include "online/LrclibClient.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QUrlQuery>
#include <cmath>

namespace online {

namespace {

const QString DefaultBase = QStringLiteral("https://lrclib.net");

Outcome OutcomeOfStatus(int status) {
    switch (status) {
        case 404:
            return Outcome::NotFound;
        case 429:
            return Outcome::RateLimited;
        default:
            return status >= 500 ? Outcome::ServerError : Outcome::Refused;
    }
}

std::optional<Challenge> ParseChallenge(const QByteArray& body) {
    const QJsonObject object = QJsonDocument::fromJson(body).object();
    return MakeChallenge(object.value(QLatin1String("prefix")).toString(),
                         object.value(QLatin1String("target")).toString());
}

}  // namespace

QString Describe(Outcome what) {
    switch (what) {
        case Outcome::Ok:
            return {};
        case Outcome::NotFound:
            return QStringLiteral("not found");
        case Outcome::RateLimited:
            return QStringLiteral("too many requests, try again later");
        case Outcome::ServerError:
            return QStringLiteral("the lyrics database failed");
        case Outcome::Refused:
            return QStringLiteral("the lyrics database refused the request");
        case Outcome::InvalidAnswer:
            return QStringLiteral("the lyrics database's answer could not be read");
        case Outcome::ConnectionLost:
            return QStringLiteral("the connection to the lyrics database was lost");
        case Outcome::TimedOut:
            return QStringLiteral("the lyrics database did not answer in time");
        case Outcome::Cancelled:
            return QStringLiteral("cancelled");
    }
    return {};
}

LrclibClient::LrclibClient(QObject* parent) : QObject(parent), base(BaseUrl()) {}

QUrl LrclibClient::BaseUrl() {
    const QString named = qEnvironmentVariable("CANTORIX_LRCLIB_URL");
    return QUrl(named.isEmpty() ? DefaultBase : named);
}

QByteArray LrclibClient::UserAgent() {
    return QByteArrayLiteral("Cantorix/" CANTORIX_VERSION " (" CANTORIX_HOMEPAGE ")");
}

QNetworkRequest LrclibClient::MakeRequest(const QString& path, const QUrlQuery& query) const {
    QUrl url = base;
    QString basePath = url.path();
    while (basePath.endsWith(u'/')) {
        basePath.chop(1);
    }
    url.setPath(basePath + path);
    url.setQuery(query);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
    request.setTransferTimeout(timeoutMs);
    return request;
}

LrclibRequest* LrclibClient::Get(const QString& artist, const QString& title, const QString& album,
                                 double durationSeconds) {
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("artist_name"), artist);
    query.addQueryItem(QStringLiteral("track_name"), title);
    if (!album.isEmpty()) {
        query.addQueryItem(QStringLiteral("album_name"), album);
    }
    query.addQueryItem(QStringLiteral("duration"), QString::number(std::llround(durationSeconds)));
    return Track(manager.get(MakeRequest(QStringLiteral("/api/get"), query)), Answer::Records);
}

LrclibRequest* LrclibClient::Search(const QString& words) {
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("q"), words);
    return Track(manager.get(MakeRequest(QStringLiteral("/api/search"), query)),
                 Answer::RecordList);
}

LrclibRequest* LrclibClient::RequestChallenge() {
    return Track(manager.post(MakeRequest(QStringLiteral("/api/request-challenge")), QByteArray()),
                 Answer::Challenge);
}

LrclibRequest* LrclibClient::Publish(const LyricsRecord& song, const Challenge& challenge,
                                     quint64 nonce) {
    QNetworkRequest request = MakeRequest(QStringLiteral("/api/publish"));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setRawHeader("X-Publish-Token", challenge.Prefix + ':' + QByteArray::number(nonce));
    const QJsonObject body{
        {QStringLiteral("trackName"), song.TrackName},
        {QStringLiteral("artistName"), song.ArtistName},
        {QStringLiteral("albumName"), song.AlbumName},
        {QStringLiteral("duration"), song.Duration},
        {QStringLiteral("plainLyrics"), song.PlainLyrics.value_or(QString())},
        {QStringLiteral("syncedLyrics"), song.SyncedLyrics.value_or(QString())},
    };
    return Track(manager.post(request, QJsonDocument(body).toJson(QJsonDocument::Compact)),
                 Answer::Nothing);
}

LrclibRequest* LrclibClient::Track(QNetworkReply* reply, Answer answer) {
    auto* request = new LrclibRequest(this);
    auto oversized = std::make_shared<bool>(false);
    connect(reply, &QNetworkReply::readyRead, reply, [reply, oversized] {
        if (reply->bytesAvailable() > MaxAnswerBytes) {
            *oversized = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, request, [reply, request, answer, oversized] {
        reply->deleteLater();
        Result result;
        result.HttpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QNetworkReply::NetworkError error = reply->error();
        if (*oversized) {
            result.What = Outcome::InvalidAnswer;
        } else if (error == QNetworkReply::OperationCanceledError ||
                   error == QNetworkReply::TimeoutError) {
            result.What = Outcome::TimedOut;
        } else if (result.HttpStatus == 0 || (error != QNetworkReply::NoError && error < 200)) {
            // No status, or the connection failed after it: what came is not the whole answer.
            result.What = Outcome::ConnectionLost;
        } else if (result.HttpStatus / 100 != 2) {
            result.What = OutcomeOfStatus(result.HttpStatus);
        } else {
            const QByteArray body = reply->readAll();
            result.What = Outcome::InvalidAnswer;
            if (answer == Answer::Nothing) {
                result.What = result.HttpStatus == 201 ? Outcome::Ok : Outcome::Refused;
            } else if (answer == Answer::Challenge) {
                result.Issued = ParseChallenge(body);
                result.What = result.Issued ? Outcome::Ok : Outcome::InvalidAnswer;
            } else if (auto records = ParseRecords(body, answer == Answer::RecordList)) {
                result.Records = *records;
                result.What = Outcome::Ok;
            }
        }
        emit request->Finished(result);
        request->deleteLater();
    });
    return request;
}

}  // namespace online
