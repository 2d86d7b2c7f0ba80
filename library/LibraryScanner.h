#pragma once
// The disk side of the lyrics library: it lives on the library's worker thread, reads the
// folder, watches it and reports what it found; nothing of it runs on the window thread.
#include <QFileSystemWatcher>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <vector>

#include "library/SongMatch.h"

namespace library {

struct IndexedFile {
    QString Path;
    std::vector<SongCandidate> Songs;
};

// The songs a lyrics file may be of: its title record (".cx3", ".cx2") or "[ti:]" and "[ar:]"
// tags (".lrc"), and its name. Reads the file.
std::vector<SongCandidate> SongsOfFile(const QString& path);

// A lyrics file of the library by its extension: .cx3, .cx2 or .lrc in any case.
bool IsLibraryFile(const QString& path);

// The lyrics file beside an audio file with its base name (".cx3" before ".cx2" before
// ".lrc"), or empty. audioPath may be a file: URL.
QString LyricsBeside(const QString& audioPath);

class LibraryScanner : public QObject {
    Q_OBJECT
  public:
    explicit LibraryScanner(QString folder);

  public slots:
    // Indexes the whole folder and its subfolders, then follows their changes.
    void Scan();
    void FindBeside(quint64 ticket, const QString& audioPath);

  signals:
    void Indexed(const QList<library::IndexedFile>& files);
    void Removed(const QStringList& paths);
    void ScanFinished();
    void BesideFound(quint64 ticket, const QString& lyricsPath);

  private:
    struct Stamp {
        qint64 Size = -1;
        qint64 ModifiedMs = -1;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };

    void ScanFolder(const QString& folder, QList<IndexedFile>& found);
    // Reads the files of folder that are new or changed and drops those gone; new subfolders
    // are scanned whole.
    void FolderChanged(const QString& folder);
    void FileChanged(const QString& path);
    void Read(const QString& path, const Stamp& stamp, QList<IndexedFile>& found);
    void Forget(const QStringList& paths);
    void ForgetFolder(const QString& folder);
    void Flush(QList<IndexedFile>& found);

    QString root;
    QFileSystemWatcher* watcher = nullptr;
    QHash<QString, Stamp> known;  // the files indexed, by path
    QSet<QString> folders;        // the folders watched
};

}  // namespace library
