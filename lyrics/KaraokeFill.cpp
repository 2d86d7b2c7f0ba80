#include "lyrics/KaraokeFill.h"

#include <algorithm>

namespace lyrics {

namespace {

struct Knot {
    double Ms;
    double Char;
};

// The character reached at positionMs along knots, which rise in both time and character.
double Along(const std::vector<Knot>& knots, double positionMs) {
    if (positionMs < knots.front().Ms) {
        return knots.front().Char;
    }
    for (size_t i = 1; i < knots.size(); ++i) {
        const Knot& from = knots[i - 1];
        const Knot& to = knots[i];
        if (positionMs < to.Ms) {
            return from.Char + (to.Char - from.Char) * (positionMs - from.Ms) / (to.Ms - from.Ms);
        }
    }
    return knots.back().Char;
}

}  // namespace

std::vector<double> SungChars(const LyricRow& row, double startMs, double endMs,
                              double positionMs) {
    std::vector<double> sung;
    const qsizetype length = row.Text.size();
    // A row without a later end fills as its word times say, or whole the moment it starts.
    const bool ends = endMs > startMs;
    for (qsizetype from = 0; from <= length;) {
        qsizetype to = row.Text.indexOf(QLatin1Char('\n'), from);
        if (to < 0) {
            to = length;
        }
        std::vector<Knot> knots{{startMs, double(from)}};
        for (const WordTime& word : row.Words) {
            if (word.Offset < from || word.Offset > to) {
                continue;
            }
            // Times out of order in a file must not make the fill run backwards or past the
            // line's end.
            double ms = std::max(word.StartMs, knots.back().Ms);
            if (ends) {
                ms = std::min(ms, std::max(endMs, knots.back().Ms));
            }
            if (word.Offset == from && knots.size() == 1) {
                knots.front().Ms = ms;  // the first word starts the line's fill
            } else if (double(word.Offset) > knots.back().Char) {
                knots.push_back({ms, double(word.Offset)});
            }
        }
        if (knots.back().Char < double(to)) {
            knots.push_back({std::max(ends ? endMs : startMs, knots.back().Ms), double(to)});
        }
        sung.push_back(Along(knots, positionMs));
        from = to + 1;
    }
    return sung;
}

double ExtrapolatedMs(double queriedMs, double sinceQueryMs, bool playing) {
    return playing ? queriedMs + std::clamp(sinceQueryMs, 0.0, MaxExtrapolationMs) : queriedMs;
}

}  // namespace lyrics
