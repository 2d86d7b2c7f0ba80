#pragma once
// The delimited-field text convention that every file of the system uses: comma-separated
// fields, strings in double quotes with nothing escaped, numbers bare in plain decimal,
// CR LF after every line.
#include <QByteArray>
#include <QString>
#include <optional>

namespace lyrics {

// Valid UTF-8 (a leading byte-order mark dropped) is read as UTF-8, anything else as
// Windows-1252.
QString DecodeText(const QByteArray& bytes);
// The machine's code page: UTF-8 here.
QByteArray EncodeText(const QString& text);

// Plain decimal with a period, no exponent, no thousands separator, whatever the locale:
// 83.456, 120, 0.5. The shortest text that reads back as the same double.
QString FormatNumber(double value);

// Reads fields as a stream: a comma or a line end (CR LF, LF or CR) ends a field, blanks
// before a field are skipped, a field that begins with a double quote runs to the next
// double quote. Trailing blank lines count as the end of the file.
class FieldReader {
public:
    FieldReader() = default;
    explicit FieldReader(const QByteArray& bytes);

    // Reads the whole file; false when it cannot be opened or read.
    bool Open(const QString& path);

    // True when nothing but blanks and line ends is left.
    bool AtEnd() const;

    // The next field as text (a quoted field without its quotes, a bare field trimmed).
    // nullopt past the end of the data.
    std::optional<QString> ReadString();

    // The next field as a number: an empty field reads as 0 (empty set to true when given).
    // nullopt past the end of the data, for a quoted field, or for a field that is not a
    // plain decimal number.
    std::optional<double> ReadNumber(bool* empty = nullptr);

private:
    // ... implementation state
};

// Builds a file in memory, then writes it whole.
class FieldWriter {
public:
    void WriteString(const QString& text);  // quoted
    void WriteNumber(double value);         // FormatNumber
    void WriteEmpty();                      // an empty field: nothing between the commas
    void EndLine();                         // CR LF

    const QByteArray& Bytes() const;

    // Replaces the file atomically: on failure the old file stays whole.
    bool Save(const QString& path) const;

private:
    // ... implementation state
};

}  // namespace lyrics
