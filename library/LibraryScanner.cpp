#include "library/LibraryScanner.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include "lyrics/LrcFile.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/RegularFile.h"

namespace library {

namespace {

// Larger files are not lyrics; they are not read.
constexpr qint64 LargestLyricsFile = 4 * 1024 * 1024;
// Found files go to the index in batches, so a large folder fills it as the scan goes on.
constexpr qsizetype Batch = 256;

qsizetype SuffixRank(const QString& path) {
    return lyrics::ExtensionRank(QFileInfo(path).suffix());
}

std::optional<QString> TitleRecord(const QString& path) {
    if (lyrics::LyricsFormatOf(path) != lyrics::LyricsFormat::Lrc) {
        return lyrics::ReadLyricsTitle(path);
    }
    // No fallback title: a song name from the file's name is read as a name, not a record.
    const auto bytes = lyrics::ReadRegularFile(path, LargestLyricsFile);
    lyrics::LyricLines table;
    if (!bytes || !lyrics::ReadLrc(*bytes, QString(), table)) {
        return std::nullopt;
    }
    return table.LyricsTitle;
}

}  // namespace

bool IsLibraryFile(const QString& path) {
    return SuffixRank(path) >= 0;
}

std::vector<SongCandidate> SongsOfFile(const QString& path) {
    std::vector<SongCandidate> songs;
    if (const auto record = TitleRecord(path)) {
        songs = TitleRecordCandidates(*record);
    }
    for (const SongCandidate& candidate : FileNameCandidates(QFileInfo(path).completeBaseName())) {
        songs.push_back(candidate);
    }
    return songs;
}

QString LyricsBeside(const QString& audioPath) {
    const QUrl url(audioPath);
    const QFileInfo audio(url.isLocalFile() ? url.toLocalFile() : audioPath);
    if (audioPath.isEmpty() || !audio.isAbsolute()) {
        return {};
    }
    const QString base = audio.completeBaseName();
    QString best;
    for (const QFileInfo& entry : QDir(audio.absolutePath()).entryInfoList(QDir::Files)) {
        const qsizetype rank = SuffixRank(entry.fileName());
        if (rank >= 0 && entry.completeBaseName() == base &&
            (best.isEmpty() || rank < SuffixRank(best))) {
            best = entry.absoluteFilePath();
        }
    }
    return best;
}

LibraryScanner::LibraryScanner(QString folder) : root(QDir::cleanPath(std::move(folder))) {}

void LibraryScanner::Scan() {
    watcher = new QFileSystemWatcher(this);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &LibraryScanner::FolderChanged);
    connect(watcher, &QFileSystemWatcher::fileChanged, this, &LibraryScanner::FileChanged);
    QList<IndexedFile> found;
    ScanFolder(root, found);
    Flush(found);
    emit ScanFinished();
}

void LibraryScanner::ScanFolder(const QString& folder, QList<IndexedFile>& found) {
    if (!QFileInfo(folder).isDir() || folders.contains(folder)) {
        return;
    }
    folders.insert(folder);
    watcher->addPath(folder);
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    QStringList subfolders;
    while (it.hasNext() && !QThread::currentThread()->isInterruptionRequested()) {
        const QFileInfo entry(it.next());
        if (entry.isDir()) {
            // A link back up the tree would be scanned for ever.
            if (!entry.isSymLink()) {
                subfolders.append(entry.absoluteFilePath());
            }
        } else if (IsLibraryFile(entry.fileName()) && !known.contains(entry.absoluteFilePath())) {
            Read(entry.absoluteFilePath(), {entry.size(), entry.lastModified().toMSecsSinceEpoch()},
                 found);
        }
    }
    for (const QString& subfolder : subfolders) {
        ScanFolder(subfolder, found);
    }
}

void LibraryScanner::Read(const QString& path, const Stamp& stamp, QList<IndexedFile>& found) {
    known.insert(path, stamp);
    watcher->addPath(path);  // a file rewritten in place is not news to its folder
    found.append({path, SongsOfFile(path)});
    if (found.size() >= Batch) {
        Flush(found);
    }
}

void LibraryScanner::Flush(QList<IndexedFile>& found) {
    if (!found.isEmpty()) {
        emit Indexed(found);
        found.clear();
    }
}

void LibraryScanner::FolderChanged(const QString& folder) {
    if (!QFileInfo(folder).isDir()) {
        ForgetFolder(folder);
        return;
    }
    QList<IndexedFile> found;
    QSet<QString> present;
    for (const QFileInfo& entry :
         QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString path = entry.absoluteFilePath();
        present.insert(path);
        if (entry.isDir()) {
            if (!entry.isSymLink() && !folders.contains(path)) {
                ScanFolder(path, found);
            }
        } else if (IsLibraryFile(path)) {
            const Stamp stamp{entry.size(), entry.lastModified().toMSecsSinceEpoch()};
            if (known.value(path) != stamp) {
                Read(path, stamp, found);
            }
        }
    }
    Flush(found);
    QStringList gone;
    for (auto it = known.cbegin(); it != known.cend(); ++it) {
        if (QFileInfo(it.key()).path() == folder && !present.contains(it.key())) {
            gone.append(it.key());
        }
    }
    Forget(gone);
    for (const QString& subfolder : QStringList(folders.cbegin(), folders.cend())) {
        if (QFileInfo(subfolder).path() == folder && !present.contains(subfolder)) {
            ForgetFolder(subfolder);
        }
    }
}

void LibraryScanner::FileChanged(const QString& path) {
    const QFileInfo entry(path);
    if (!entry.isFile()) {
        Forget({path});
        return;
    }
    QList<IndexedFile> found;
    Read(path, {entry.size(), entry.lastModified().toMSecsSinceEpoch()}, found);
    Flush(found);
}

void LibraryScanner::Forget(const QStringList& paths) {
    QStringList gone;
    for (const QString& path : paths) {
        if (known.remove(path) > 0) {
            watcher->removePath(path);
            gone.append(path);
        }
    }
    if (!gone.isEmpty()) {
        emit Removed(gone);
    }
}

void LibraryScanner::ForgetFolder(const QString& folder) {
    const QString prefix = folder + QLatin1Char('/');
    QStringList gone;
    for (auto it = known.cbegin(); it != known.cend(); ++it) {
        if (it.key().startsWith(prefix)) {
            gone.append(it.key());
        }
    }
    Forget(gone);
    for (const QString& watched : QStringList(folders.cbegin(), folders.cend())) {
        if (watched == folder || watched.startsWith(prefix)) {
            folders.remove(watched);
            watcher->removePath(watched);
        }
    }
}

void LibraryScanner::FindBeside(quint64 ticket, const QString& audioPath) {
    emit BesideFound(ticket, LyricsBeside(audioPath));
}

}  // namespace library
