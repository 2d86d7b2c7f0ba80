// The lyrics library: which file a song finds, then the library over a real folder, read on its
// worker and followed as files come, change and go.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "library/LibraryScanner.h"
#include "library/LyricsIndex.h"
#include "library/LyricsLibrary.h"
#include "platform/Folders.h"
#include "support/Files.h"

using testsupport::WriteBytes;

namespace {

// A file's songs from "base name|title record".
std::vector<library::SongCandidate> Songs(const QString& file) {
    auto songs = library::TitleRecordCandidates(file.section(u'|', 1));
    for (const auto& candidate : library::FileNameCandidates(file.section(u'|', 0, 0))) {
        songs.push_back(candidate);
    }
    return songs;
}

QByteArray Cx3(const QByteArray& title) {
    return '"' + title + "\"\r\n1.5,\"la la\"\r\n";
}

}  // namespace

class tst_library : public QObject {
    Q_OBJECT

  private slots:
    // Two files, A and B, each "base name|title record" (none, as an LRC without tags, ""); the
    // song asked for, "artist|title", finds "A", "B" or nothing (""). Names compared loosely,
    // title records over file names, a known artist over an unknown one.
    void Match_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("song");
        QTest::addColumn<QString>("found");
        // clang-format off
        QTest::newRow("title record") << "x|Paper Lanterns - The Quiet Harbour" << "y|Other - The Quiet Harbour"
                                      << "The Quiet Harbour|Paper Lanterns" << "A";
        QTest::newRow("record read song first, not artist first") << "x|The Quiet Harbour - Paper Lanterns" << "y|"
                                      << "The Quiet Harbour|Paper Lanterns" << "";
        QTest::newRow("case, accents, punctuation, blanks") << "x|DON'T  stop, me now! - Beyoncé" << "y|"
                                      << "beyonce|Dont Stop Me Now" << "A";
        QTest::newRow("words in brackets on either side") << "x|Hey Jude (Remastered 2015) - The Beatles [Live]" << "y|"
                                      << "The Beatles|Hey Jude (Remastered 2011)" << "A";
        QTest::newRow("all in brackets is still a title") << "x|(Untitled) - Sigur Rós" << "y|Other - Sigur Rós"
                                      << "Sigur Ros|(untitled)" << "A";
        QTest::newRow("unclosed bracket kept") << "x|Song (live - Band" << "y|Song - Band" << "Band|Song live" << "A";
        QTest::newRow("name Artist - Title") << "Queen - Bohemian Rhapsody|" << "y|" << "Queen|Bohemian Rhapsody" << "A";
        QTest::newRow("name Title - Artist") << "Bohemian Rhapsody - Queen|" << "y|" << "Queen|Bohemian Rhapsody" << "A";
        QTest::newRow("name with track number and underscores") << "y|" << "07_-_Queen_-_Bohemian_Rhapsody|"
                                      << "Queen|Bohemian Rhapsody" << "B";
        QTest::newRow("name Artist - Album - Title") << "Queen - A Night at the Opera - Bohemian Rhapsody|" << "y|"
                                      << "Queen|Bohemian Rhapsody" << "A";
        QTest::newRow("a number that is the title stays") << "1999 - Prince|" << "y|" << "Prince|1999" << "A";
        QTest::newRow("other artist does not match") << "Queen - Bohemian Rhapsody|" << "y|" << "Panic|Bohemian Rhapsody" << "";
        QTest::newRow("other title does not match") << "x|Song - Band" << "y|" << "Band|Other Song" << "";
        QTest::newRow("empty title matches nothing") << "x|Song - Band" << "y|" << "Band|" << "";
        QTest::newRow("title alone on either side") << "Song|" << "y|" << "Band|Song" << "A";
        QTest::newRow("unknown artist takes the title") << "x|Song - Band" << "y|" << "|Song" << "A";
        QTest::newRow("same artist over unknown artist") << "x|Song" << "y|Song - Band" << "Band|Song" << "B";
        QTest::newRow("title record over file name") << "Band - Song|Something Else - Band" << "y|Song - Band"
                                      << "Band|Song" << "B";
        QTest::newRow("tie goes to the first path") << "Band - Song|" << "Song - Band|" << "Band|Song" << "A";
        // clang-format on
    }
    void Match() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, song);
        const QString artist = song.section(u'|', 0, 0), title = song.section(u'|', 1);
        library::LyricsIndex index;
        index.Put(QStringLiteral("A"), Songs(a));
        index.Put(QStringLiteral("B"), Songs(b));
        QTEST(index.Lookup(artist, title), "found");
        index.Remove(QStringLiteral("A"));  // taken out, a file is found no more
        QVERIFY(index.Lookup(artist, title) != u"A");
    }

    // A file added, changed, moved into a new subfolder and removed shows in the index without a
    // restart; a lyrics file beside the audio file wins over the library's.
    void FolderFollowed() {
        QTemporaryDir dir;
        const QString root = dir.filePath(QStringLiteral("Lyrics"));
        QVERIFY(QDir().mkpath(root));
        QVERIFY(WriteBytes(root + "/old.cx3", Cx3("Song - Band")));
        QVERIFY(WriteBytes(root + "/notes.txt", Cx3("Song - Band")));

        QVERIFY(library::SetLibraryFolder(root));
        QCOMPARE(library::LibraryFolder(), root);
        QVERIFY(!QFile::exists(platform::SettingsFilePath()));  // the eleven lines stay untouched

        library::LyricsLibrary lib;
        QSignalSpy ready(&lib, &library::LyricsLibrary::Ready);
        lib.Open(library::LibraryFolder());
        QTRY_COMPARE(ready.size(), 1);
        QCOMPARE(lib.FileCount(), 1);
        QCOMPARE(lib.Lookup("band", "song"), root + "/old.cx3");

        QVERIFY(WriteBytes(root + "/new.lrc", "[ti:Other Song]\n[ar:Band]\n[00:01.00]la\n"));
        QTRY_COMPARE(lib.Lookup("Band", "Other Song"), root + "/new.lrc");

        // Rewritten in place with another title: found under the new one, not the old.
        QVERIFY(WriteBytes(root + "/old.cx3", Cx3("Third Song - Band")));
        QTRY_COMPARE(lib.Lookup("Band", "Third Song"), root + "/old.cx3");
        QCOMPARE(lib.Lookup("Band", "Song"), QString());

        QVERIFY(QDir().mkpath(root + "/Band/Album"));
        QVERIFY(WriteBytes(root + "/Band/Album/Band - Deep.cx2", Cx3("untitled")));
        QTRY_COMPARE(lib.Lookup("Band", "Deep"), root + "/Band/Album/Band - Deep.cx2");

        QVERIFY(QFile::remove(root + "/new.lrc"));
        QTRY_COMPARE(lib.Lookup("Band", "Other Song"), QString());
        QVERIFY(QDir(root + "/Band").removeRecursively());
        QTRY_COMPARE(lib.Lookup("Band", "Deep"), QString());
        QCOMPARE(lib.FileCount(), 1);

        // Beside the audio file, with its base name, in any case of extension, ours before LRC.
        QVERIFY(WriteBytes(dir.filePath("track.mp3"), "ID3"));
        QVERIFY(WriteBytes(dir.filePath("track.lrc"), "[00:01.00]la\n"));
        QVERIFY(WriteBytes(dir.filePath("track.CX3"), Cx3("x")));
        QSignalSpy found(&lib, &library::LyricsLibrary::Found);
        const quint64 beside = lib.Find("Band", "Third Song", dir.filePath("track.mp3"));
        const quint64 fromIndex = lib.Find("Band", "Third Song", dir.filePath("other.mp3"));
        const quint64 none = lib.Find("Band", "Nothing", QString());
        QTRY_COMPARE(found.size(), 3);
        QHash<quint64, QString> answers;
        for (const auto& args : found) {
            answers.insert(args[0].toULongLong(), args[1].toString());
        }
        QCOMPARE(answers.value(beside), dir.filePath("track.CX3"));
        QCOMPARE(answers.value(fromIndex), root + "/old.cx3");
        QCOMPARE(answers.value(none, QStringLiteral("?")), QString());
    }
};

QTEST_GUILESS_MAIN(tst_library)
#include "tst_library.moc"
