#include "online/Challenge.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <cmath>
#include <cstring>

namespace online {

namespace {

constexpr qsizetype HashBytes = 32;

bool Meets(QCryptographicHash& hash, const Challenge& challenge, quint64 nonce) {
    hash.reset();
    hash.addData(challenge.Prefix);
    hash.addData(QByteArray::number(nonce));
    return challenge.Target.size() == HashBytes &&
           std::memcmp(hash.resultView().data(), challenge.Target.constData(), HashBytes) <= 0;
}

}  // namespace

std::optional<Challenge> MakeChallenge(const QString& prefix, const QString& targetHex) {
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    if (prefix.isEmpty() || !hex.match(targetHex).hasMatch()) {
        return std::nullopt;
    }
    return Challenge{prefix.toUtf8(), QByteArray::fromHex(targetHex.toLatin1())};
}

bool MeetsTarget(const Challenge& challenge, quint64 nonce) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return Meets(hash, challenge, nonce);
}

double ExpectedTries(const Challenge& challenge) {
    double target = 0;
    for (const char byte : challenge.Target) {
        target = target * 256 + double(static_cast<unsigned char>(byte));
    }
    return std::ldexp(1.0, 256) / (target + 1);
}

std::optional<quint64> SolveRange(const Challenge& challenge, quint64 from, quint64 to,
                                  const std::atomic<bool>& cancel,
                                  const std::function<void(quint64)>& progress) {
    if (challenge.Target.size() != HashBytes) {
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (quint64 nonce = from; nonce < to; ++nonce) {
        if ((nonce - from) % SolveStep == 0 && nonce != from) {
            if (cancel.load(std::memory_order_relaxed)) {
                return std::nullopt;
            }
            if (progress) {
                progress(nonce - from);
            }
        }
        if (Meets(hash, challenge, nonce)) {
            return nonce;
        }
    }
    return std::nullopt;
}

}  // namespace online
