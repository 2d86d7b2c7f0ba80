#include "lyrics/LineFit.h"

#include <QFontMetrics>
#include <QLabel>
#include <vector>

namespace lyrics {

namespace {

const QString Ellipsis = QStringLiteral("…");

// The largest of the ascending cuts whose start of line fits, or -1 when none does.
qsizetype LongestFitting(const QString& line, const std::vector<qsizetype>& cuts,
                         const std::function<bool(const QString&)>& fits) {
    qsizetype low = 0;
    qsizetype high = static_cast<qsizetype>(cuts.size());
    while (low < high) {
        const qsizetype mid = (low + high) / 2;
        if (fits(line.left(cuts[size_t(mid)]) + Ellipsis)) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return low == 0 ? -1 : cuts[size_t(low - 1)];
}

}  // namespace

QString FitLine(const QString& line, const std::function<bool(const QString&)>& fits) {
    if (line.size() <= MaxShownChars && fits(line)) {
        return line;
    }
    // Cut points are the ends of words: a blank that follows something else.
    const qsizetype limit = std::min(line.size(), MaxShownChars);
    std::vector<qsizetype> wordEnds;
    for (qsizetype i = 1; i <= limit && i < line.size(); ++i) {
        if (line[i].isSpace() && !line[i - 1].isSpace()) {
            wordEnds.push_back(i);
        }
    }
    if (const qsizetype cut = LongestFitting(line, wordEnds, fits); cut > 0) {
        return line.left(cut) + Ellipsis;
    }
    // Not one word fits: as many characters as do, never half of a surrogate pair.
    std::vector<qsizetype> charEnds;
    for (qsizetype i = 1; i <= limit; ++i) {
        if (!line[i - 1].isHighSurrogate()) {
            charEnds.push_back(i);
        }
    }
    const qsizetype cut = LongestFitting(line, charEnds, fits);
    return cut > 0 ? line.left(cut) + Ellipsis : Ellipsis;
}

void ShowLine(QLabel& label, const QString& line) {
    const QFontMetrics metrics(label.font());
    const QRect box = label.contentsRect();
    const int flags = int(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    label.setText(FitLine(line, [&](const QString& text) {
        const QRect needed = metrics.boundingRect(box, flags, text);
        return needed.width() <= box.width() && needed.height() <= box.height();
    }));
}

}  // namespace lyrics
