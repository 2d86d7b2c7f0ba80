#pragma once
// The lyrics library: a folder of lyrics files indexed on a worker thread and kept up to date
// as files come, change and go. Lookups answer from memory on the caller's thread; only the
// search beside an audio file goes to the disk, on the worker, and answers by signal.
#include <QObject>
#include <QString>
#include <QThread>

#include "library/LyricsIndex.h"

namespace library {

class LibraryScanner;
struct IndexedFile;

// The library folder kept in cantorix.conf; "~/Lyrics" until one is chosen.
QString LibraryFolder();
// False when cantorix.conf could not be written.
bool SetLibraryFolder(const QString& folder);

class LyricsLibrary : public QObject {
    Q_OBJECT
  public:
    explicit LyricsLibrary(QObject* parent = nullptr);
    ~LyricsLibrary() override;

    // Forgets the files of the folder before and indexes this one; Ready follows.
    void Open(const QString& folder);
    QString Folder() const { return folder; }
    bool IsReady() const { return ready; }
    qsizetype FileCount() const { return index.FileCount(); }

    // From the index only: the best file for the song, or empty.
    QString Lookup(const QString& artist, const QString& title) const;

    // The lyrics file beside audioPath with its base name when there is one, else Lookup's
    // answer (at the time the search beside ends). Answers by Found with the ticket returned.
    quint64 Find(const QString& artist, const QString& title, const QString& audioPath);

  signals:
    void Ready();    // the whole folder has been read once
    void Changed();  // files were indexed or removed
    void Found(quint64 ticket, const QString& lyricsPath);
    void FindBeside(quint64 ticket, const QString& audioPath);  // to the worker

  private:
    void Close();
    void TakeIndexed(const QList<IndexedFile>& files);
    void TakeRemoved(const QStringList& paths);

    struct Pending {
        QString Artist;
        QString Title;
    };

    QString folder;
    bool ready = false;
    LyricsIndex index;
    QThread worker;
    LibraryScanner* scanner = nullptr;
    quint64 lastTicket = 0;
    QHash<quint64, Pending> pending;
};

}  // namespace library
