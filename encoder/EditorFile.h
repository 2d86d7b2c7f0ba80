#pragma once
// The file behind the source text editor: which file the text belongs to, loading it, and
// saving the text back. A failed load or save changes nothing, so the editor can never
// write an old text over a file it could not read, nor report a text as saved that is not.
#include <QString>
#include <optional>

namespace encoder {

class EditorFile {
  public:
    // The file the text belongs to; empty for a text typed without one.
    QString FileName;
    // True once the text has been saved on the way out of the editor.
    bool Confirmed = false;

    // The text of path (see ReadSourceText). On success path becomes the file name and the
    // text is no longer confirmed; on failure nothing changes.
    std::optional<QString> Open(const QString& path);
    // Saves text as plain text, replacing the file atomically: to the file name, or to the
    // temporary file for a text without one. On success the file name names the file
    // written and the text is confirmed; on failure nothing changes and the old file stays
    // whole.
    bool Save(const QString& text);

    // "--undefined--.tmp" in the settings folder: where a text without a file is saved.
    static QString TemporaryFilePath();
};

}  // namespace encoder
