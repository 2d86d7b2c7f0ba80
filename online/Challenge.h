#pragma once
// The proof of work the database asks before it takes a song: a nonce, written as a decimal
// counter, whose SHA-256 of prefix + nonce, read as bytes, is not greater than the target.
#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>
#include <optional>

namespace online {

struct Challenge {
    QByteArray Prefix;  // as the database sent it (hex text), hashed as it stands
    QByteArray Target;  // the 32 bytes of the target's hex
};

// nullopt when the prefix is empty or the target is not 64 hex digits.
std::optional<Challenge> MakeChallenge(const QString& prefix, const QString& targetHex);

// Whether SHA-256(prefix + nonce) is not greater than the target, byte by byte.
bool MeetsTarget(const Challenge& challenge, quint64 nonce);

// How many nonces a solver tries on average: 2^256 / (target + 1).
double ExpectedTries(const Challenge& challenge);

// How often SolveRange reports and looks at cancel.
inline constexpr quint64 SolveStep = 4096;

// The first nonce in [from, to) that meets the target, or nullopt when none does or cancel
// was set. progress, when given, hears the count tried so far every SolveStep nonces.
std::optional<quint64> SolveRange(const Challenge& challenge, quint64 from, quint64 to,
                                  const std::atomic<bool>& cancel,
                                  const std::function<void(quint64)>& progress = {});

}  // namespace online
