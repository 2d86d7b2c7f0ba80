#include "winamp-sim/Options.h"

#include <cmath>
#include <limits>
#include <optional>

#include "winamp-sim/M3u.h"

namespace winampsim {

namespace {

constexpr int MaxGeneratedTracks = 100000;
constexpr double MaxSpeed = 10000;

// Decimal or 0x hex, with an optional minus; the result as the 64 bits it stands for.
std::optional<quint64> ParseBits(QString text, bool allowNegative) {
    bool negative = false;
    if (text.startsWith(QLatin1Char('-'))) {
        if (!allowNegative) {
            return std::nullopt;
        }
        negative = true;
        text.remove(0, 1);
    }
    int base = 10;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        text.remove(0, 2);
    }
    if (text.isEmpty() || text.startsWith(QLatin1Char('+'))) {
        return std::nullopt;
    }
    bool ok = false;
    const quint64 value = text.toULongLong(&ok, base);
    if (!ok) {
        return std::nullopt;
    }
    if (negative) {
        if (value > quint64(std::numeric_limits<qint64>::max()) + 1) {
            return std::nullopt;
        }
        return ~value + 1;
    }
    return value;
}

Options Fail(const QString& message) {
    Options options;
    options.Ok = false;
    options.Error = message;
    return options;
}

Options ParseClient(const QStringList& args) {
    Options options;
    options.RunMode = args[0] == QLatin1String("send") ? Options::Mode::Send : Options::Mode::Post;
    if (args.size() != 4) {
        return Fail(QStringLiteral("%1 needs three numbers: MSG WPARAM LPARAM").arg(args[0]));
    }
    const auto msg = ParseBits(args[1], false);
    if (!msg || *msg > std::numeric_limits<platform::UINT>::max()) {
        return Fail(QStringLiteral("bad message number \"%1\"").arg(args[1]));
    }
    const auto wParam = ParseBits(args[2], true);
    if (!wParam) {
        return Fail(QStringLiteral("bad wParam \"%1\"").arg(args[2]));
    }
    const auto lParam = ParseBits(args[3], true);
    if (!lParam) {
        return Fail(QStringLiteral("bad lParam \"%1\"").arg(args[3]));
    }
    options.Msg = static_cast<platform::UINT>(*msg);
    options.WParam = static_cast<platform::WPARAM>(*wParam);
    options.LParam = static_cast<platform::LPARAM>(*lParam);
    return options;
}

}  // namespace

Options ParseOptions(const QStringList& args) {
    if (!args.isEmpty() && (args[0] == QLatin1String("send") || args[0] == QLatin1String("post"))) {
        return ParseClient(args);
    }

    Options options;
    bool countGiven = false;
    bool lengthGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        QString value;
        bool hasValue = false;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
            value = arg.section(QLatin1Char('='), 1);
            arg = arg.section(QLatin1Char('='), 0, 0);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue) {
                return true;
            }
            if (i + 1 >= args.size()) {
                return false;
            }
            value = args[++i];
            return true;
        };

        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.RunMode = Options::Mode::Help;
            return options;
        } else if (arg == QLatin1String("--version")) {
            options.RunMode = Options::Mode::Version;
            return options;
        } else if (arg == QLatin1String("--headless")) {
            if (hasValue) {
                return Fail(QStringLiteral("--headless takes no value"));
            }
            options.Headless = true;
        } else if (arg == QLatin1String("--trace")) {
            if (!takeValue() || value.isEmpty()) {
                return Fail(QStringLiteral("--trace needs a file name"));
            }
            options.TraceFile = value;
        } else if (arg == QLatin1String("--speed")) {
            bool ok = false;
            const double speed = takeValue() ? value.toDouble(&ok) : 0;
            if (!ok || !std::isfinite(speed) || speed <= 0 || speed > MaxSpeed) {
                return Fail(
                    QStringLiteral("--speed needs a number above 0 and up to %1").arg(MaxSpeed));
            }
            options.Speed = speed;
        } else if (arg == QLatin1String("--tracks")) {
            bool ok = false;
            const int count = takeValue() ? value.toInt(&ok) : 0;
            if (!ok || count < 1 || count > MaxGeneratedTracks) {
                return Fail(QStringLiteral("--tracks needs a whole number from 1 to %1")
                                .arg(MaxGeneratedTracks));
            }
            options.TrackCount = count;
            countGiven = true;
        } else if (arg == QLatin1String("--length")) {
            bool ok = false;
            const int length = takeValue() ? value.toInt(&ok) : 0;
            if (!ok || length < 1 || length > MaxTrackLengthS) {
                return Fail(QStringLiteral("--length needs whole seconds from 1 to %1")
                                .arg(MaxTrackLengthS));
            }
            options.TrackLengthS = length;
            lengthGiven = true;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return Fail(QStringLiteral("unknown option %1").arg(args[i]));
        } else if (options.Playlist.isEmpty()) {
            options.Playlist = arg;
        } else {
            return Fail(QStringLiteral("only one playlist, please (got %1 and %2)")
                            .arg(options.Playlist, arg));
        }
    }
    if (!options.Playlist.isEmpty() && (countGiven || lengthGiven)) {
        return Fail(QStringLiteral("give either a playlist or --tracks/--length, not both"));
    }
    return options;
}

}  // namespace winampsim
