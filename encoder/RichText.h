#pragma once
// Rich Text Format, read for its text only: the formatting, the tables of fonts and
// colours, pictures and every other destination are dropped.
#include <QByteArray>
#include <QString>
#include <optional>

namespace encoder {

// True for bytes that begin as a rich text document does ("{\rtf").
bool IsRichText(const QByteArray& bytes);

// The text of a rich text document; paragraphs and line breaks become line feeds. The
// reader walks the bytes once, with groups nested at most MaxRichTextDepth deep; deeper
// nesting fails (nullopt). A document cut short gives the text read so far.
inline constexpr int MaxRichTextDepth = 256;
std::optional<QString> ReadRichText(const QByteArray& bytes);

}  // namespace encoder
