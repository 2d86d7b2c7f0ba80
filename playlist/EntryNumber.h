#pragma once
// Numbers typed into the entry dialogs' boxes, and the Winamp playlist entries they name.
#include <QString>
#include <QtGlobal>
#include <optional>

namespace playlist {

// The Winamp playlist entries an entry number can name, counted from 1.
inline constexpr int EntryNumberMin = 1;
inline constexpr int EntryNumberMax = 1000;

// The number a text begins with, blanks ignored; 0 when it begins with none. Read as a
// floating-point number, so a long run of digits is a large value, never an overflow.
double LeadingNumber(const QString& text);

// The nearest whole number, halves to the even neighbour: 6.5 is 6, 7.5 is 8.
double RoundHalfEven(double value);

// What a typed text means as a whole number from min to max: its leading number, rounded;
// nothing when that lies outside the range (an empty text is 0).
std::optional<int> TypedWholeNumber(const QString& text, int min, int max);

// Winamp's playlist position (counted from 0) as an entry number, held within 1 to 1000
// so the spinner can show it.
int EntryNumberAt(qint64 listPosition);

inline bool IsEntryNumber(int value) {
    return value >= EntryNumberMin && value <= EntryNumberMax;
}

}  // namespace playlist
