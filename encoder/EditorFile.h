#pragma once
// The file behind the source text editor: which file the text belongs to, loading it, and
// saving the text back. A failed load or save changes nothing, so the editor can never
// write an old text over a file it could not read, nor report a text as saved that is not.
#include <QString>
#include <optional>

namespace encoder {

// How a text file is laid out, so that a changed text goes back into it the same way: its
// first line end (LF when it has none) and its encoding as the text was read from it.
struct TextLayout {
    QString LineEnd = QStringLiteral("\n");
    bool ByteOrderMark = false;  // UTF-8 behind a byte-order mark
    bool Windows1252 = false;    // read as Windows-1252
};

class EditorFile {
  public:
    // The file the text belongs to; empty for a text typed without one.
    QString FileName;
    // True once the text has been saved on the way out of the editor.
    bool Confirmed = false;

    // The text of path (see SourceTextOf). On success path becomes the file name and the
    // text is no longer confirmed; on failure nothing changes.
    std::optional<QString> Open(const QString& path);
    // An empty text without a file.
    void New();
    // Whether text differs, line ends aside, from the text as opened or last saved.
    bool Changed(const QString& text) const;
    // Saves text as plain text, replacing the file atomically: to the file name, or to the
    // temporary file for a text without one. The file is not written while the text is as
    // opened and the file is still there; a changed text gets the file's line end, and
    // Windows-1252 if the file had it and the text reads back the same from it, else UTF-8
    // (behind the file's byte-order mark). On success the file name names the file written
    // and the text is confirmed; on failure nothing changes and the old file stays whole.
    bool Save(const QString& text);

    // "--undefined--.tmp" in the settings folder: where a text without a file is saved.
    static QString TemporaryFilePath();

  private:
    // The text as opened or last saved, with LF line ends.
    QString kept;
    TextLayout layout;
};

}  // namespace encoder
