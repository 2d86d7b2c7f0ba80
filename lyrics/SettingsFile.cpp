#include "lyrics/SettingsFile.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "lyrics/DelimitedFile.h"

namespace lyrics {

namespace {

// A whole number within [low, high], as the typed variables of the file take it.
std::optional<qint64> ReadWhole(FieldReader& in, qint64 low, qint64 high) {
    const std::optional<double> value = in.ReadNumber();
    if (!value || std::floor(*value) != *value || *value < double(low) || *value > double(high)) {
        return std::nullopt;
    }
    return qint64(*value);
}

std::optional<qint64> ReadKeyed(FieldReader& in, qint64 low, qint64 high) {
    std::optional<qint64> value = ReadWhole(in, low, high);
    if (!value || !in.ReadString()) {
        return std::nullopt;
    }
    return value;
}

constexpr qint64 Int16Min = std::numeric_limits<qint16>::min();
constexpr qint64 Int16Max = std::numeric_limits<qint16>::max();
constexpr qint64 Int32Min = std::numeric_limits<qint32>::min();
constexpr qint64 Int32Max = std::numeric_limits<qint32>::max();

// Reads line `line` (1 to 11) into out; false when it cannot be read or applied.
bool ReadLine(FieldReader& in, int line, Settings& out) {
    switch (line) {
        case 1: {
            ColourTable colours{};
            for (std::uint32_t& c : colours) {
                const std::optional<qint64> v = ReadWhole(in, 0, 0xFFFFFFFFLL);
                if (!v) {
                    return false;
                }
                c = std::uint32_t(*v);
            }
            out.Colours = colours;
            return true;
        }
        case 2: {
            const std::optional<qint64> left = ReadWhole(in, Int16Min, Int16Max);
            const std::optional<qint64> top = left ? ReadWhole(in, Int16Min, Int16Max) : left;
            if (!top) {
                return false;
            }
            out.Left = int(*left);
            out.Top = int(*top);
            return true;
        }
        case 3:
        case 4:
        case 8:
        case 9: {
            const std::optional<qint64> v = ReadKeyed(in, Int32Min, Int32Max);
            if (!v) {
                return false;
            }
            if (line == 3) {
                out.OnTop = *v == 1;
            } else if (line == 4) {
                out.Compact = *v == 1;
            } else if (line == 8) {
                out.Randomize = *v == 0;
            } else {
                out.Repeat = *v == 0;
            }
            return true;
        }
        case 5:
        case 6:
        case 7: {
            // An index of a two-item menu: anything but 0 or 1 cannot be applied.
            const std::optional<qint64> v = ReadKeyed(in, 0, 1);
            if (!v) {
                return false;
            }
            if (line == 5) {
                out.StopFade = StopMode(*v);
            } else if (line == 6) {
                out.ListView = ListVisibility(*v);
            } else {
                out.ListSave = ListSaving(*v);
            }
            return true;
        }
        case 10:
        case 11: {
            std::optional<QString> text = in.ReadString();
            if (!text) {
                return false;
            }
            (line == 10 ? out.SkinFolder : out.PlaylistPath) = *text;
            return true;
        }
    }
    return false;
}

}  // namespace

SettingsRead ReadSettingsFile(const QString& path) {
    SettingsRead result;
    FieldReader in;
    if (!in.Open(path)) {
        return result;
    }
    Settings read;
    for (int line = 1; line <= 11; ++line) {
        if (!ReadLine(in, line, read)) {
            break;
        }
        result.LinesRead = line;
    }
    // A file that fails part-way keeps only what was applied to the window itself from the
    // lines before the failing one (position, Always On Top, Retract to Compact); every
    // other setting takes its default.
    Settings& out = result.Values;
    const int n = result.LinesRead;
    if (n == 11) {
        out = read;
        return result;
    }
    if (n >= 2) {
        out.Left = read.Left;
        out.Top = read.Top;
    }
    out.OnTop = n >= 3 && read.OnTop;
    out.Compact = n >= 4 && read.Compact;
    return result;
}

bool WriteSettingsFile(const QString& path, const Settings& s) {
    auto clamp16 = [](int v) { return double(std::clamp<qint64>(v, Int16Min, Int16Max)); };
    FieldWriter out;
    for (std::uint32_t c : s.Colours) {
        out.WriteNumber(double(c));
    }
    out.EndLine();
    out.WriteNumber(clamp16(s.Left));
    out.WriteNumber(clamp16(s.Top));
    out.EndLine();
    auto keyed = [&out](int value, const char* key) {
        out.WriteNumber(value);
        out.WriteString(QString::fromLatin1(key));
        out.EndLine();
    };
    keyed(s.OnTop ? 1 : 0, "on top");
    keyed(s.Compact ? 1 : 0, "compact");
    keyed(int(s.StopFade), "stop fade");
    keyed(int(s.ListView), "list view");
    keyed(int(s.ListSave), "list save");
    keyed(s.Randomize ? 0 : 1, "randomize list");
    keyed(s.Repeat ? 0 : 1, "repeat list");
    out.WriteString(s.SkinFolder);
    out.EndLine();
    out.WriteString(s.PlaylistPath);
    out.EndLine();
    return out.Save(path).Saved();
}

std::optional<ColourTable> ReadColourLine(const QString& path) {
    FieldReader in;
    Settings read;
    if (!in.Open(path) || !ReadLine(in, 1, read)) {
        return std::nullopt;
    }
    return read.Colours;
}

}  // namespace lyrics
