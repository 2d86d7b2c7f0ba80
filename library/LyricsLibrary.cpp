#include "library/LyricsLibrary.h"

#include <QDir>

#include "library/LibraryScanner.h"
#include "lyrics/ConfFile.h"
#include "platform/Folders.h"

namespace library {

QString LibraryFolder() {
    const QString chosen = lyrics::ReadConfFile(platform::ConfFilePath()).LibraryFolder;
    return chosen.isEmpty() ? QDir::homePath() + QStringLiteral("/Lyrics") : chosen;
}

bool SetLibraryFolder(const QString& folder) {
    return lyrics::WriteLibraryFolder(platform::ConfFilePath(), folder);
}

LyricsLibrary::LyricsLibrary(QObject* parent) : QObject(parent) {}

LyricsLibrary::~LyricsLibrary() {
    Close();
}

void LyricsLibrary::Close() {
    if (scanner == nullptr) {
        return;
    }
    worker.requestInterruption();
    worker.quit();
    worker.wait();
    delete scanner;
    scanner = nullptr;
    index.Clear();
    ready = false;
    // Searches the old worker did not answer find nothing in a folder no longer indexed.
    const auto unanswered = pending.keys();
    pending.clear();
    for (const quint64 ticket : unanswered) {
        emit Found(ticket, QString());
    }
}

void LyricsLibrary::Open(const QString& newFolder) {
    Close();
    folder = QDir::cleanPath(QDir(newFolder).absolutePath());
    scanner = new LibraryScanner(folder);
    scanner->moveToThread(&worker);
    connect(&worker, &QThread::started, scanner, &LibraryScanner::Scan);
    connect(scanner, &LibraryScanner::Indexed, this, &LyricsLibrary::TakeIndexed);
    connect(scanner, &LibraryScanner::Removed, this, &LyricsLibrary::TakeRemoved);
    connect(scanner, &LibraryScanner::ScanFinished, this, [this] {
        ready = true;
        emit Ready();
    });
    connect(this, &LyricsLibrary::FindBeside, scanner, &LibraryScanner::FindBeside);
    connect(scanner, &LibraryScanner::BesideFound, this,
            [this](quint64 ticket, const QString& lyricsPath) {
                if (!pending.contains(ticket)) {
                    return;
                }
                const Pending song = pending.take(ticket);
                emit Found(ticket,
                           lyricsPath.isEmpty() ? Lookup(song.Artist, song.Title) : lyricsPath);
            });
    worker.start();
}

void LyricsLibrary::TakeIndexed(const QList<IndexedFile>& files) {
    for (const IndexedFile& file : files) {
        index.Put(file.Path, file.Songs);
    }
    emit Changed();
}

void LyricsLibrary::TakeRemoved(const QStringList& paths) {
    for (const QString& path : paths) {
        index.Remove(path);
    }
    emit Changed();
}

QString LyricsLibrary::Lookup(const QString& artist, const QString& title) const {
    return index.Lookup(artist, title);
}

quint64 LyricsLibrary::Find(const QString& artist, const QString& title, const QString& audioPath) {
    const quint64 ticket = ++lastTicket;
    if (audioPath.isEmpty() || scanner == nullptr) {
        // Nothing to look at on the disk: answered from the index, still by signal.
        QMetaObject::invokeMethod(
            this, [this, ticket, answer = Lookup(artist, title)] { emit Found(ticket, answer); },
            Qt::QueuedConnection);
        return ticket;
    }
    pending.insert(ticket, {artist, title});
    emit FindBeside(ticket, audioPath);
    return ticket;
}

}  // namespace library
