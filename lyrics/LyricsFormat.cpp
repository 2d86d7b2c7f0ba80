#include "lyrics/LyricsFormat.h"

#include <algorithm>

namespace lyrics {

qsizetype ExtensionRank(QStringView suffix) {
    const auto found = std::find_if(
        LyricsExtensions.begin(), LyricsExtensions.end(),
        [&](const auto& known) { return suffix.compare(known.Suffix, Qt::CaseInsensitive) == 0; });
    return found == LyricsExtensions.end() ? -1 : found - LyricsExtensions.begin();
}

std::optional<LyricsFormat> FormatOfName(QStringView path) {
    const qsizetype rank = ExtensionRank(path.right(3));
    return rank < 0 ? std::nullopt : std::optional(LyricsExtensions[size_t(rank)].Format);
}

LyricsFormat LyricsFormatOf(QStringView path) {
    return FormatOfName(path).value_or(LyricsFormat::Cx3);
}

QString ExtensionOf(LyricsFormat format) {
    const auto first = std::find_if(LyricsExtensions.begin(), LyricsExtensions.end(),
                                    [&](const auto& known) { return known.Format == format; });
    return QLatin1Char('.') + first->Suffix;
}

}  // namespace lyrics
