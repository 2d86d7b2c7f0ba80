// bench_challenge_solve [--nonces N] [--target HEX]: the solver's hashes per second on one
// core (the median of several runs over N nonces of a target nothing meets), and the mean
// time a challenge takes at that rate, for the target given or a range of difficulties.
#include <QCoreApplication>
#include <cmath>

#include "bench/BenchSupport.h"
#include "online/Challenge.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int nonces = bench::IntArg(args, QStringLiteral("--nonces"), 200000);
    const qsizetype targetAt = args.indexOf(QStringLiteral("--target"));
    const auto given = targetAt > 0
                           ? online::MakeChallenge(QStringLiteral("p"), args.value(targetAt + 1))
                           : std::nullopt;
    if (targetAt > 0 && !given) {
        std::fprintf(stderr, "--target needs 64 hex digits\n");
        return 2;
    }

    // The prefix is as long as the database's, so each hash costs what it will there.
    const auto impossible = online::MakeChallenge(QString(64, u'a'), QString(64, u'0'));
    std::atomic<bool> cancel{false};
    const bench::Figures f = bench::Measure([&] {
        if (online::SolveRange(*impossible, 0, quint64(nonces), cancel)) {
            std::fprintf(stderr, "a nonce met the zero target\n");
        }
    });
    const double perSecond = nonces / (f.median / 1000);
    std::printf("%-52s median %10.0f hashes/s   (%.0f .. %.0f)\n", "challenge solver, one core",
                perSecond, nonces / (f.slowest / 1000), nonces / (f.fastest / 1000));

    const auto report = [&](const QString& what, double tries) {
        std::printf("%-52s %12.1f s on average\n", qPrintable(what), tries / perSecond);
    };
    if (given) {
        report(QStringLiteral("the target given (%1 tries expected)")
                   .arg(online::ExpectedTries(*given), 0, 'g', 3),
               online::ExpectedTries(*given));
    } else {
        for (int bits = 16; bits <= 32; bits += 4) {
            report(QStringLiteral("a target of 2^%1 tries").arg(bits), std::ldexp(1.0, bits));
        }
    }
    return 0;
}
