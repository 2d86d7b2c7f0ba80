// Every save puts the whole new file in place or leaves the old one exactly as it was, and
// says which. Writes fail part-way under a file size limit between the old and the new size.
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include "encoder/EditorFile.h"
#include "lyrics/LrcFile.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/SaveFile.h"
#include "lyrics/SettingsFile.h"
#include "playlist/PlaylistFile.h"
#include "support/Files.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using testsupport::ReadBytes;

namespace {

enum class Writer { Bytes, Lyrics, Lrc, Playlist, Settings, Editor };

constexpr int Lines = 120;  // well past the limit, well within a write buffer
constexpr rlim_t Limit = 512;
const QByteArray OldBytes = "\"Old - Song\"\r\n1.5,\"old line\"\r\n";

// While it lives, writing past Limit bytes fails, here and in the programs started.
struct FileSizeLimit {
    rlimit old{};
    void (*handler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    FileSizeLimit() {
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limit{Limit, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, handler);
    }
};

// Saves Lines lines of text to path with writer; true when it says the file was saved.
bool Save(Writer writer, const QString& path) {
    const QString line = QStringLiteral("Salt on the window, line %1");
    const QString text = line.arg(0).repeated(Lines);
    std::vector<lyrics::SourceRow> rows;
    lyrics::LyricLines table;
    playlist::PlaylistTable list;
    for (int i = 0; i < Lines; ++i) {
        rows.push_back({i + 0.5, line.arg(i)});
        table.Rows.push_back({i * 1000.0, line.arg(i), {}});
        list.Append({"/lyrics/" + line.arg(i) + ".cx3", qint16(i + 1), line.arg(i)});
    }
    table.LastLine = Lines - 1;
    lyrics::Settings settings;
    settings.SkinFolder = "/skins/" + text;
    encoder::EditorFile file;
    file.FileName = path;
    switch (writer) {
        case Writer::Bytes:
            return lyrics::SaveBytes(path, text.toUtf8()).Saved();
        case Writer::Lyrics:
            return lyrics::WriteLyricsFile(path, "Salt - Mira", rows, Lines - 1);
        case Writer::Lrc:
            return lyrics::WriteLrcFile(path, table).Saved();
        case Writer::Playlist:
            return playlist::WritePlaylistFile(path, list);
        case Writer::Settings:
            return lyrics::WriteSettingsFile(path, settings);
        case Writer::Editor: {
            // Confirmed only when saved, the file name kept either way, else the answer turns.
            const bool saved = file.Save(text);
            return file.Confirmed == saved && file.FileName == path ? saved : !saved;
        }
    }
    return false;
}

// What path leads to: each link's text, then what lies at the end, a file with its bytes.
QStringList Chain(const QString& path) {
    QStringList chain;
    QString at = path;
    while (QFileInfo(at).isSymLink() && chain.size() < 5) {
        chain << "link to " + QFile::symLinkTarget(at);
        at = QFileInfo(at).symLinkTarget();
    }
    const QFileInfo end(at);
    return chain << (end.isFile()   ? "file: " + ReadBytes(at)
                     : end.isDir()  ? QStringLiteral("folder")
                     : end.exists() ? QStringLiteral("not a file")
                                    : QStringLiteral("nothing"));
}

QStringList Entries(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        names << it.next();
    }
    names.sort();
    return names;
}

}  // namespace

Q_DECLARE_METATYPE(Writer)

class TestSaves : public QObject {
    Q_OBJECT

  private slots:
    void saveWholeOrNothing_data() {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("where");  // made by Layout
        QTest::addColumn<bool>("limited");
        QTest::addColumn<bool>("saved");
        using W = Writer;
        // clang-format off
        QTest::newRow("bytes, written")                 << W::Bytes    << "file"          << false << true;
        QTest::newRow("bytes, limit")                   << W::Bytes    << "file"          << true  << false;
        QTest::newRow("lyrics, limit")                  << W::Lyrics   << "file"          << true  << false;
        QTest::newRow("LRC, limit")                     << W::Lrc      << "file"          << true  << false;
        QTest::newRow("playlist, limit")                << W::Playlist << "file"          << true  << false;
        QTest::newRow("settings, limit")                << W::Settings << "file"          << true  << false;
        QTest::newRow("editor text, limit")             << W::Editor   << "file"          << true  << false;
        QTest::newRow("lyrics through links")           << W::Lyrics   << "links"         << false << true;
        QTest::newRow("editor text through links")      << W::Editor   << "links"         << false << true;
        QTest::newRow("bytes through links, limit")     << W::Bytes    << "links"         << true  << false;
        QTest::newRow("LRC through a dangling link")    << W::Lrc      << "dangling link" << false << true;
        QTest::newRow("bytes through a link loop")      << W::Bytes    << "link loop"     << false << false;
        QTest::newRow("settings to a link to a device") << W::Settings << "device link"   << false << false;
        QTest::newRow("playlist to a link to a FIFO")   << W::Playlist << "FIFO link"     << false << false;
        QTest::newRow("editor text to a folder")        << W::Editor   << "folder"        << false << false;
        QTest::newRow("bytes to a folder that is gone") << W::Bytes    << "gone/file"     << false << false;
        QTest::newRow("bytes, longest name: no copy")   << W::Bytes    << QString(251, u'n') + ".txt" << false << false;
        // clang-format on
    }
    void saveWholeOrNothing() {
        QFETCH(Writer, writer);
        QFETCH(QString, where);
        QFETCH(bool, limited);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QString path = Layout(dir, where);
        const QStringList before = Chain(path);
        const QStringList entries = Entries(dir.path());

        bool said;
        {
            const std::optional<FileSizeLimit> limit =
                limited ? std::make_optional<FileSizeLimit>() : std::nullopt;
            said = Save(writer, path);
        }
        QCOMPARE(said, saved);
        if (!saved) {
            QCOMPARE(Chain(path), before);
            QCOMPARE(Entries(dir.path()), entries);  // no copy left behind
            return;
        }
        // The links stay; the file at their end holds what the writer writes anywhere.
        const QString plain = dir.filePath("plain");
        QVERIFY(Save(writer, plain));
        QCOMPARE(Chain(path), before.mid(0, before.size() - 1) << Chain(plain));
    }

    // The export without a window fails with a reason, a non-zero exit, the old file whole.
    void exportFailsAloud() {
        QTemporaryDir dir;
        const QString cx3 = dir.filePath("song.cx3"), lrc = dir.filePath("song.lrc");
        QVERIFY(Save(Writer::Lyrics, cx3) && testsupport::WriteBytes(lrc, OldBytes));
        QProcess encoder;
        {
            const FileSizeLimit limit;
            encoder.start(CANTORIX_BIN_DIR "/cantorix-encoder", {"--export-lrc", cx3, lrc});
            QVERIFY(encoder.waitForFinished());
        }
        QCOMPARE(encoder.exitCode(), 1);
        QCOMPARE(encoder.readAllStandardError(),
                 "cantorix-encoder: could not write " + lrc.toUtf8() + ": File too large\n");
        QCOMPARE(ReadBytes(lrc), OldBytes);
    }

  private:
    // Every layout a row names made in dir, the old bytes at the end of the links to a file.
    static QString Layout(const QTemporaryDir& dir, const QString& where) {
        const auto link = [&dir](const QString& target, const char* name) {
            QFile::link(target, dir.filePath(name));
        };
        QDir(dir.path()).mkdir("sub");
        testsupport::WriteBytes(dir.filePath("sub/file"), OldBytes);
        link("file", "sub/to-file");  // relative, to the folder of the link
        link("sub/to-file", "links");
        link("sub/new", "dangling link");
        link("link loop", "loop");
        link("loop", "link loop");
        // Root aims at a device of its own, never at the system's /dev/null.
        const bool root = ::geteuid() == 0;
        if (root) {
            ::mknod(QFile::encodeName(dir.filePath("null")).constData(), S_IFCHR | 0666,
                    makedev(1, 3));
        }
        link(root ? "null" : "/dev/null", "device link");
        ::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600);
        link("fifo", "FIFO link");
        if (where == "file" || where.endsWith(".txt")) {
            testsupport::WriteBytes(dir.filePath(where), OldBytes);
        }
        return dir.filePath(where == "folder" ? "sub" : where);
    }
};

QTEST_GUILESS_MAIN(TestSaves)
#include "tst_saves.moc"
