#pragma once
// The open lyrics database over HTTP, asynchronously: every call returns at once with a
// request object whose Finished signal brings the result, failures included, on the
// caller's thread.
#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>
#include <QUrlQuery>

#include "online/Challenge.h"
#include "online/Record.h"

namespace online {

enum class Outcome {
    Ok,              // the records, the challenge, or the song published
    NotFound,        // 404
    RateLimited,     // 429
    ServerError,     // 5xx
    Refused,         // any other status, as a publish whose token does not hold
    InvalidAnswer,   // not the JSON the call expects, or larger than any answer should be
    ConnectionLost,  // no connection, or it closed before the whole answer came
    TimedOut,        // nothing moved for the client's time limit
    Cancelled,       // a publish the user stopped before it was sent
};

struct Result {
    Outcome What = Outcome::ConnectionLost;
    int HttpStatus = 0;
    QList<LyricsRecord> Records;              // Get: one; Search: any number
    std::optional<online::Challenge> Issued;  // RequestChallenge
};

// What went wrong, in words for a message ("not found"); empty for Ok.
QString Describe(Outcome what);

class LrclibRequest : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
  signals:
    // Once, after which the request deletes itself.
    void Finished(const online::Result& result);
};

class LrclibClient : public QObject {
    Q_OBJECT
  public:
    // No request waits longer than this for the next byte.
    static constexpr int DefaultTimeoutMs = 10000;
    // Answers larger than this are refused, not kept in memory.
    static constexpr qint64 MaxAnswerBytes = 8 * 1024 * 1024;

    explicit LrclibClient(QObject* parent = nullptr);

    // https://lrclib.net, or the address CANTORIX_LRCLIB_URL names.
    static QUrl BaseUrl();
    // "Cantorix/<version> (<home page>)".
    static QByteArray UserAgent();

    void SetTimeoutMs(int ms) { timeoutMs = ms; }

    // GET /api/get: the song of that artist and title (and album, when known) whose length
    // is within a couple of seconds of durationSeconds.
    LrclibRequest* Get(const QString& artist, const QString& title, const QString& album,
                       double durationSeconds);
    // GET /api/search?q=words.
    LrclibRequest* Search(const QString& words);
    // POST /api/request-challenge.
    LrclibRequest* RequestChallenge();
    // POST /api/publish with the solved challenge; Ok means the database took the song.
    LrclibRequest* Publish(const LyricsRecord& song, const Challenge& challenge, quint64 nonce);

  private:
    enum class Answer { Records, RecordList, Challenge, Nothing };
    QNetworkRequest MakeRequest(const QString& path, const QUrlQuery& query = {}) const;
    LrclibRequest* Track(QNetworkReply* reply, Answer answer);

    QNetworkAccessManager manager;
    QUrl base;
    int timeoutMs = DefaultTimeoutMs;
};

}  // namespace online
