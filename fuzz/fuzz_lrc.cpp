// An LRC file, and the LRC written back from what was read: it must show the same text with
// its words in the same places (times are rounded on the way out).
#include <cstdlib>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "lyrics/LrcFile.h"
#include "lyrics/LyricLines.h"

namespace {

// The rows' texts one after another, a line break between rows as between lines of one row,
// and where in it every word starts.
struct Shown {
    QString Text;
    std::vector<qsizetype> Words;
    bool operator==(const Shown&) const = default;
};

Shown ShownOf(const lyrics::LyricLines& table) {
    Shown shown;
    for (const lyrics::LyricRow& row : table.Rows) {
        if (&row != &table.Rows.front()) {
            shown.Text += u'\n';
        }
        for (const lyrics::WordTime& word : row.Words) {
            shown.Words.push_back(shown.Text.size() + word.Offset);
        }
        shown.Text += row.Text;
    }
    return shown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lyrics::LyricLines table;
    if (lyrics::ReadLrc(fuzz::Bytes(data, size), QStringLiteral("fuzz"), table)) {
        lyrics::LyricLines again;
        if (!lyrics::ReadLrc(lyrics::LrcText(table).toUtf8(), QStringLiteral("fuzz"), again) ||
            !(ShownOf(again) == ShownOf(table))) {
            std::abort();
        }
    }
    return 0;
}
