#include "playlist/EntryNumber.h"

#include <QByteArray>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace playlist {

double LeadingNumber(const QString& text) {
    QByteArray ascii;
    for (const QChar c : text) {
        if (c != u' ' && c != u'\t') {
            ascii += c.unicode() < 128 ? char(c.unicode()) : '?';
        }
    }
    const bool negative = ascii.startsWith('-');
    const char* begin = ascii.constData() + (negative || ascii.startsWith('+') ? 1 : 0);
    const char* end = ascii.constData() + ascii.size();
    // Digits or a period must come first: from_chars would also take "inf" and "nan".
    if (begin == end || !(std::isdigit(static_cast<unsigned char>(*begin)) || *begin == '.')) {
        return 0;
    }
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (stop == begin) {
        return 0;  // a period and no digit
    }
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves the value alone; this reading gives infinity for an overflow
        // and 0 for an underflow.
        value = QByteArray(begin, stop - begin).toDouble();
    }
    return negative ? -value : value;
}

double RoundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction != 0.5) {
        return fraction < 0.5 ? below : below + 1;
    }
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::optional<int> TypedWholeNumber(const QString& text, int min, int max) {
    const double whole = RoundHalfEven(LeadingNumber(text));
    if (!(whole >= min && whole <= max)) {  // NaN included
        return std::nullopt;
    }
    return static_cast<int>(whole);
}

int EntryNumberAt(qint64 listPosition) {
    return static_cast<int>(
               std::clamp<qint64>(listPosition, EntryNumberMin - 1, EntryNumberMax - 1)) +
           1;
}

}  // namespace playlist
