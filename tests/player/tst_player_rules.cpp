// The player's rules without a window: which lyric line is current at Winamp's position, the
// window height of a playlist-view decision, the skin fallback over skin folders made on disk
// for the test, and what Open and a drop open.
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "lyrics/LyricLines.h"
#include "player/LineFollower.h"
#include "player/ListView.h"
#include "player/OpenedFileKind.h"
#include "player/Skin.h"
#include "support/Scripted.h"

using player::SkinButton;

Q_DECLARE_METATYPE(player::OpenedFileKind)

namespace {

// "L0/L1" for the current and the next line, "!" once the display has ended.
QString Shown(const player::LineView& view) {
    return view.Current.value_or("?") + "/" + view.Next + (view.Ended ? "!" : "");
}

// A skin folder holding the normal bitmaps less the names in missing.
void WriteSkin(const QString& folder, const QStringList& missing = {}) {
    QVERIFY(QDir().mkpath(folder));
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::green);
    for (SkinButton b : player::SkinLoadOrder) {
        const QString name = player::NormalBitmapName(b);
        QVERIFY(missing.contains(name) || image.save(folder + name, "BMP"));
    }
}

// The paths of the normal bitmaps of folder, in load order up to and including last.
QStringList Upto(const QString& folder, SkinButton last = SkinButton::Open) {
    QStringList out;
    for (SkinButton b : player::SkinLoadOrder) {
        if (int(b) <= int(last)) {
            out << folder + player::NormalBitmapName(b);
        }
    }
    return out;
}

}  // namespace

class tst_PlayerRules : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    // Two installs: "good" with a whole default skin, "broken" whose default lacks open.bmp.
    QString Skins(const QString& install) const { return tmp.filePath(install) + "/skins/"; }
    // "$S/" is the install's skins folder, "$U/" the same in capitals, "$O/" a folder outside.
    QString Resolve(QString token, const QString& install) const {
        token.replace("$S/", Skins(install));
        token.replace("$U/", tmp.filePath(install) + "/SKINS/");
        token.replace("$O/", tmp.filePath("outside") + "/");
        return token;
    }

  private slots:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        WriteSkin(Skins("good") + "default/");
        WriteSkin(Skins("good") + "night/");
        WriteSkin(Skins("good") + "nopause/", {"pause.bmp"});
        WriteSkin(Skins("broken") + "default/", {"open.bmp"});
        WriteSkin(Skins("broken") + "nopause/", {"pause.bmp"});
        WriteSkin(tmp.filePath("outside") + "/partial/", {"next.bmp", "pause.bmp", "open.bmp"});
    }

    // Line k is "Lk" at times[k]; a tick at -1 starts the song again.
    void lineFollower_data() {
        QTest::addColumn<QList<double>>("times");
        QTest::addColumn<QList<double>>("ticks");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("shown");  // after each tick, "-" for no change
        QTest::newRow("first line current from the start, an equal time counts")
            << QList<double>{12480, 17952, 0} << QList<double>{0, 12479, 12480, 17951, 17952}
            << "L0/L1" << QStringList{"-", "-", "L1/L2", "-", "L2/(end of song)!"};
        QTest::newRow("a jump ahead: one line per tick")
            << QList<double>{1000, 2000, 3000, 4000, 5000, 6000, 7000}
            << QList<double>{5500, 5500, 5500, 5500, 5500, 5500} << "L0/L1"
            << QStringList{"L1/L2", "L2/L3", "L3/L4", "L4/L5", "L5/L6", "-"};
        QTest::newRow("a jump back: stands still until the time comes round")
            << QList<double>{1000, 2000, 3000, 4000} << QList<double>{2500, 2500, 100, 2999, 3000}
            << "L0/L1" << QStringList{"L1/L2", "L2/L3", "-", "-", "L3/(end of song)!"};
        QTest::newRow("the last row's time is never compared")
            << QList<double>{1000, 2000, 999999} << QList<double>{1000, 2000} << "L0/L1"
            << QStringList{"L1/L2", "L2/(end of song)!"};
        QTest::newRow("lines without times move on every tick")
            << QList<double>{0, 0, 0} << QList<double>{0, 0} << "L0/L1"
            << QStringList{"L1/L2", "L2/(end of song)!"};
        QTest::newRow("a single row ends at once")
            << QList<double>{3500} << QList<double>{} << "L0/(end of song)!" << QStringList{};
        QTest::newRow("playing again starts from the first line")
            << QList<double>{1000, 2000, 3000} << QList<double>{1000, -1, 500, 1000} << "L0/L1"
            << QStringList{"L1/L2", "L0/L1", "-", "L1/L2"};
    }
    void lineFollower() {
        QFETCH(QList<double>, times);
        QFETCH(QList<double>, ticks);
        lyrics::LyricLines lines;
        for (int k = 0; k < times.size(); ++k) {
            lines.Rows.push_back({times[k], QStringLiteral("L%1").arg(k), {}});
        }
        lines.LastLine = qint16(times.size() - 1);
        player::LineFollower follower(lines);
        QTEST(Shown(follower.Start()), "start");
        QStringList shown;
        for (double ms : ticks) {
            if (ms < 0) {
                shown << Shown(follower.Start());
            } else {
                const std::optional<player::LineView> view = follower.Tick(ms);
                shown << (view ? Shown(*view) : QStringLiteral("-"));
            }
        }
        QTEST(shown, "shown");
    }

    // The row's name lists the arguments that are true.
    void decideListView_data() {
        QTest::addColumn<QString>("change");  // height, menu bar, Show/Hide caption
        // clang-format off
        QTest::newRow("show")                              << "none";
        QTest::newRow("compact following")                 << "none";
        QTest::newRow("show autohide")                     << "6050 menus &Hide";
        QTest::newRow("show autohide compact following")   << "6050 menus &Hide";
        QTest::newRow("autohide")                          << "2650 menus S&how";
        QTest::newRow("autohide following")                << "2650 menus S&how";
        QTest::newRow("autohide compact")                  << "2650 menus S&how";
        QTest::newRow("autohide compact following")        << "1450 no-menus unchanged";
        QTest::newRow("force show")                        << "6050 menus &Hide";
        QTest::newRow("force following")                   << "2650 menus S&how";
        QTest::newRow("force compact following")           << "1450 no-menus unchanged";
        QTest::newRow("force autohide compact")            << "2650 menus S&how";
        // clang-format on
    }
    void decideListView() {
        const QStringList on = QString(QTest::currentDataTag()).split(' ');
        const auto change = player::DecideListView(on.contains("force"), on.contains("show"),
                                                   on.contains("autohide"), on.contains("compact"),
                                                   on.contains("following"));
        QString got = "none";
        if (change) {
            got = QStringLiteral("%1 %2 %3")
                      .arg(change->OuterHeight)
                      .arg(change->HideMenuBar ? "no-menus" : "menus")
                      .arg(!change->CaptionHide   ? "unchanged"
                           : *change->CaptionHide ? "&Hide"
                                                  : "S&how");
        }
        QTEST(got, "change");
    }

    // Which bitmaps LoadSkin tried, in order, the folder it settles on, whether the "Skins"
    // box is due, and how often the colours were applied (once a pass).
    void loadSkin_data() {
        QTest::addColumn<QString>("install");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("tried");
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("message");
        QTest::addColumn<int>("passes");
        auto row = [](const char* name, const char* install, const char* folder,
                      const QStringList& tried, const char* result, bool message, int passes) {
            QTest::newRow(name) << QString(install) << QString(folder) << tried << QString(result)
                                << message << passes;
        };
        const QStringList byDefault = Upto("$S/default/");
        const QStringList noPause = Upto("$S/nopause/", SkinButton::Pause) + byDefault;
        // clang-format off
        row("a whole skin inside the skins folder", "good", "$S/night/", Upto("$S/night/"), "$S/night/", false, 1);
        row("skin lacking pause.bmp: the default, silently", "good", "$S/nopause/", noPause, "$S/default/", false, 2);
        row("missing folder inside the skins folder: the default", "good", "$S/gone/",
            QStringList{"$S/gone/play.bmp"} + byDefault, "$S/default/", false, 2);
        row("empty folder: the default, nothing read from the current folder", "good", "", byDefault, "$S/default/", false, 2);
        row("default lacking a bitmap: message, folder empty", "broken", "$S/default/", byDefault, "", true, 1);
        row("skin lacking pause.bmp, default lacking a bitmap", "broken", "$S/nopause/", noPause, "", true, 2);
        row("outside the skins folder, three bitmaps short: kept", "good", "$O/partial/",
            Upto("$O/partial/", SkinButton::Next), "$O/partial/", false, 1);
        // Letter case counts in both comparisons.
        row("default in other letter case is another skin folder", "good", "$S/DEFAULT/",
            QStringList{"$S/DEFAULT/play.bmp"} + byDefault, "$S/default/", false, 2);
        row("skins folder in other letter case is outside it", "good", "$U/night/", {"$U/night/play.bmp"}, "$U/night/", false, 1);
        // clang-format on
    }
    void loadSkin() {
        QFETCH(QString, install);
        QFETCH(QString, folder);
        QFETCH(QStringList, tried);
        QFETCH(QString, result);
        QStringList asked;
        int passes = 0;
        const player::SkinLoadResult r = player::LoadSkin(
            Resolve(folder, install),
            [&](SkinButton, const QString& path) {
                asked << path;
                return !QImage(path).isNull();
            },
            [&] { ++passes; }, Skins(install), Skins(install) + "default/");
        for (QString& t : tried) {
            t = Resolve(t, install);
        }
        QCOMPARE(asked, tried);
        QCOMPARE(r.SkinFolder, Resolve(result, install));
        QTEST(r.ShowSkinsMessage, "message");
        QTEST(passes, "passes");
    }

    void skinsMessage() {
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(platform::MsgResult::OK);
        player::ShowSkinsMessage(nullptr);
        QCOMPARE(boxes.Texts(), QStringList{"Skins: Error in skins could not be corrected. Please "
                                            "reinstall skin.\rIgnoring this error may cause "
                                            "desirable operations."});
        QVERIFY(boxes.Asked()[0].Buttons == platform::MsgButtons::OK &&
                boxes.Asked()[0].Icon == platform::MsgIcon::Critical);
    }

    // What the player's Open makes of a name: its last three characters, in any case; a drop
    // on the window opens the same, one local file at a time, and only while Open is available.
    void openedFile_data() {
        QTest::addColumn<QString>("dropped");  // URLs, blank-separated
        QTest::addColumn<bool>("openAvailable");
        QTest::addColumn<player::OpenedFileKind>("kind");  // of a single file's name
        QTest::addColumn<QString>("opened");               // empty: the drop is refused
        using K = player::OpenedFileKind;
        // clang-format off
        QTest::newRow("cx3")                << "file:///m/a%20b.cx3" << true << K::Lyrics << "/m/a b.cx3";
        QTest::newRow("upper case")         << "file:///SONG.CX3" << true << K::Lyrics << "/SONG.CX3";
        QTest::newRow("cx2")                << "file:///old.cx2" << true << K::Lyrics << "/old.cx2";
        QTest::newRow("no dot")             << "file:///songcx3" << true << K::Lyrics << "/songcx3";
        QTest::newRow("LRC")                << "file:///m/A.LRC" << true << K::Lyrics << "/m/A.LRC";
        QTest::newRow("playlist")           << "file:///m/LIST.CXP" << true << K::Playlist << "/m/LIST.CXP";
        QTest::newRow("other file")         << "file:///m/song.txt" << true << K::Nothing << "";
        QTest::newRow("two lyrics files")   << "file:///m/a.cx3 file:///m/b.cx3" << true << K::Nothing << "";
        QTest::newRow("web address")        << "https://example.org/a.lrc" << true << K::Nothing << "";
        QTest::newRow("no file")            << "" << true << K::Nothing << "";
        QTest::newRow("while a song plays") << "file:///m/a.cx3" << false << K::Lyrics << "";
        // clang-format on
    }
    void openedFile() {
        QFETCH(QString, dropped);
        QFETCH(bool, openAvailable);
        QList<QUrl> urls;
        for (const QString& url : dropped.split(u' ', Qt::SkipEmptyParts)) {
            urls << QUrl(url);
        }
        if (urls.size() == 1) {
            QTEST(player::KindOfOpenedFile(urls[0].toLocalFile()), "kind");
        }
        QTEST(player::DroppedFileToOpen(urls, openAvailable).value_or(QString()), "opened");
    }
};

QTEST_MAIN(tst_PlayerRules)
#include "tst_player_rules.moc"
