#pragma once
// Which format a lyrics file is in, told by the end of its name: the one place that says so,
// for reading, for writing and for the library.
#include <QLatin1StringView>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace lyrics {

// Cx3 is the delimited-field layout of .cx3 files and of the older .cx2.
enum class LyricsFormat { Cx3, Lrc };

struct LyricsExtension {
    QLatin1StringView Suffix;  // lower case, without the dot
    LyricsFormat Format;
};

// In the order a song's files are preferred in when it has several.
inline constexpr std::array<LyricsExtension, 3> LyricsExtensions{{
    {QLatin1StringView("cx3"), LyricsFormat::Cx3},
    {QLatin1StringView("cx2"), LyricsFormat::Cx3},
    {QLatin1StringView("lrc"), LyricsFormat::Lrc},
}};

// Where suffix (without its dot, any case) stands in LyricsExtensions; -1 when it does not.
qsizetype ExtensionRank(QStringView suffix);

// The format of a name by its last three characters in any case, the rule by which the
// player tells its files apart; nullopt for a name that is no lyrics file.
std::optional<LyricsFormat> FormatOfName(QStringView path);

// The format a file is read and written in: LRC when its name says so, else .cx3.
LyricsFormat LyricsFormatOf(QStringView path);

// The extension, with its dot, that a new file of the format gets.
QString ExtensionOf(LyricsFormat format);

}  // namespace lyrics
