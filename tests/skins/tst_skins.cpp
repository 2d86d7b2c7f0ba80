// Skins: the fallback of ApplySkin against skin folders on disk, the bitmaps pressed
// buttons show, and the Skin Selection dialog.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "platform/Modal.h"
#include "player/ImageButton.h"
#include "player/Skin.h"
#include "player/frmSkins.h"
#include "support/Scripted.h"

using player::SkinButton;

namespace {

// A button's picture tells where it came from.
constexpr QRgb Grey = 0xff808080;  // before any bitmap
constexpr QRgb Green = 0xff00c000;
constexpr QRgb Yellow = 0xffc0c000;
constexpr QRgb Dark = 0xff202020;  // every pressed bitmap

// A skin folder of ten bitmaps, the normal ones in colour, less the names in missing.
void WriteSkin(const QString& folder, const QStringList& missing = {}, QRgb colour = Green) {
    QVERIFY(QDir().mkpath(folder));
    QImage image(16, 8, QImage::Format_RGB32);
    for (SkinButton b : player::SkinLoadOrder) {
        for (const QString& name : {player::NormalBitmapName(b), player::PressedBitmapName(b)}) {
            image.fill(name.contains("_down") ? Dark : colour);
            QVERIFY(missing.contains(name) || image.save(folder + name, "BMP"));
        }
    }
}

QRgb Shown(const player::ImageButton& button) {
    return button.pixmap().toImage().pixel(0, 0);
}

// The paths of the normal bitmaps of folder, up to and including last.
QStringList Upto(const QString& folder, SkinButton last = SkinButton::Open) {
    QStringList out;
    for (SkinButton b : player::SkinLoadOrder) {
        if (static_cast<int>(b) <= static_cast<int>(last)) {
            out.append(folder + player::NormalBitmapName(b));
        }
    }
    return out;
}

}  // namespace

class tst_Skins : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    // Two installs: one whose default skin is whole, one whose default lacks open.bmp.
    QString Skins(const QString& install) const { return tmp.filePath(install) + "/skins/"; }
    QString Default(const QString& install) const { return Skins(install) + "default/"; }
    QString Outside() const { return tmp.filePath("outside") + "/"; }
    QString Tree() const { return tmp.filePath("tree") + "/"; }

    // "$S" is the install's skins folder, "$U" the same in capitals, "$O" a folder outside it.
    QString Resolve(QString token, const QString& install) const {
        token.replace("$S/", Skins(install));
        token.replace("$O/", Outside());
        token.replace("$U/", tmp.filePath(install) + "/SKINS/");
        return token;
    }

  private slots:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        WriteSkin(Default("good"));
        WriteSkin(Skins("good") + "nopause/", {"pause.bmp"});
        WriteSkin(Skins("good") + "night/");
        WriteSkin(Default("broken"), {"open.bmp"});
        WriteSkin(Skins("broken") + "nopause/", {"pause.bmp"});
        WriteSkin(Outside() + "partial/", {"next.bmp", "pause.bmp", "open.bmp"});
        for (const char* d : {"a/b/inner", "a/C", "a/d", "a/.hidden", "a/c2/deep"}) {
            QVERIFY(QDir().mkpath(Tree() + d));
        }
    }

    // Which bitmaps LoadSkin tried, in order, the folder it settles on, whether the
    // "Skins" box is due, and how often the colours were applied (once a pass).
    void fallback_data() {
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
        row("a whole skin inside the skins folder", "good", "$S/night/", Upto("$S/night/"),
            "$S/night/", false, 1);
        row("skin lacking pause.bmp: the default, silently", "good", "$S/nopause/",
            Upto("$S/nopause/", SkinButton::Pause) + byDefault, "$S/default/", false, 2);
        row("missing folder inside the skins folder: the default", "good", "$S/gone/",
            QStringList{"$S/gone/play.bmp"} + byDefault, "$S/default/", false, 2);
        row("empty folder: the default, nothing read from the current folder", "good", "",
            byDefault, "$S/default/", false, 2);
        row("default lacking a bitmap: message, folder empty", "broken", "$S/default/", byDefault,
            "", true, 1);
        row("skin lacking pause.bmp, default lacking a bitmap", "broken", "$S/nopause/",
            Upto("$S/nopause/", SkinButton::Pause) + byDefault, "", true, 2);
        row("outside the skins folder, three bitmaps short: kept", "good", "$O/partial/",
            Upto("$O/partial/", SkinButton::Next), "$O/partial/", false, 1);
        // Letter case counts in both comparisons.
        row("default in other letter case is another skin folder", "good", "$S/DEFAULT/",
            QStringList{"$S/DEFAULT/play.bmp"} + byDefault, "$S/default/", false, 2);
        row("skins folder in other letter case is outside it", "good", "$U/night/",
            {"$U/night/play.bmp"}, "$U/night/", false, 1);
    }
    void fallback() {
        QFETCH(QString, install);
        QFETCH(QString, folder);
        QFETCH(QStringList, tried);
        QFETCH(QString, result);
        QStringList asked;
        int colourRuns = 0;
        const player::SkinLoadResult r = player::LoadSkin(
            Resolve(folder, install),
            [&](SkinButton, const QString& path) {
                asked << path;
                return !QImage(path).isNull();
            },
            [&] { ++colourRuns; }, Skins(install), Default(install));
        for (QString& t : tried) {
            t = Resolve(t, install);
        }
        QCOMPARE(asked, tried);
        QCOMPARE(r.SkinFolder, Resolve(result, install));
        QTEST(r.ShowSkinsMessage, "message");
        QTEST(colourRuns, "passes");
    }

    void skinsMessage() {
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(platform::MsgResult::OK);
        player::ShowSkinsMessage(nullptr);
        const platform::MsgBoxCall& box = boxes.Asked().value(0);
        QCOMPARE(box.title + ": " + box.text,
                 QStringLiteral("Skins: Error in skins could not be corrected. Please reinstall "
                                "skin.\rIgnoring this error may cause desirable operations."));
        QVERIFY(box.buttons == platform::MsgButtons::OK && box.icon == platform::MsgIcon::Critical);
    }

    // The skins the program ships hold every bitmap, normal and pressed.
    void programSkins() {
        for (const QString& skin :
             {player::DefaultSkinFolder(), player::SkinsFolder() + "night/"}) {
            for (SkinButton b : player::SkinLoadOrder) {
                for (bool pressed : {true, false}) {
                    const QString path = player::PressFeedbackPath(skin, b, pressed);
                    QVERIFY2(!QPixmap(path).isNull(), qPrintable(path));
                }
            }
        }
    }

    // Pressing and releasing a button loads its bitmaps from the skin folder only; one that
    // does not load leaves the picture as it is, and with no skin folder nothing is read
    // from the current folder, which holds bitmaps of the same names here.
    void pressFeedback() {
        const QString skin = tmp.filePath("press") + "/";
        WriteSkin(skin, {"play_down.bmp"});
        WriteSkin(tmp.filePath("lure") + "/", {}, Yellow);
        const QString before = QDir::currentPath();
        QDir::setCurrent(tmp.filePath("lure"));
        player::ImageButton button;
        QList<QRgb> shown;
        for (const auto& [folder, b] : {std::pair{skin, SkinButton::Stop},
                                        {skin, SkinButton::Play},
                                        {QString(), SkinButton::Stop}}) {
            QPixmap grey(16, 8);
            grey.fill(QColor::fromRgb(Grey));
            button.setPixmap(grey);
            for (bool pressed : {true, false}) {
                button.LoadPicture(player::PressFeedbackPath(folder, b, pressed));
                shown << Shown(button);
            }
        }
        QDir::setCurrent(before);
        QCOMPARE(shown, (QList<QRgb>{Dark, Green, Grey, Green, Grey, Grey}));
    }

    // SetValue opens a folder, or its nearest existing parent, or the skins folder for an
    // empty or relative one (as a Windows settings file gives), and makes it the current
    // folder; nothing is chosen until OK.
    void setValue() {
        const QString skins = player::SkinsFolder(), before = QDir::currentPath();
        for (const auto& [current, opened, exact] :
             {std::tuple{Tree() + "a/b/../C/", Tree() + "a/C/", true},
              {Tree() + "a/gone/deeper/", Tree() + "a/", false},
              {QString(), skins, false},
              {QString("D:\\Lyrics\\skins\\night\\"), skins, false}}) {
            player::frmSkins dlg;
            QCOMPARE(dlg.SetValue(current), exact);
            const QString cwd = QDir::currentPath();
            QDir::setCurrent(before);
            QCOMPARE(dlg.GetValue(), opened);
            QCOMPARE(cwd, QDir::cleanPath(opened));
            QVERIFY(!dlg.ReturnState());
        }
    }

    // The way down from the root, the open folder highlighted, then its subfolders in name
    // order whatever their case, hidden ones left out. A click only highlights; a double
    // click or Enter opens a folder (Enter does not press OK); the way up opens a parent.
    // The drive list follows the open folder, and choosing a volume opens it.
    void folderList() {
        player::frmSkins dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.SetValue(Tree() + "a");
        const auto rows = [&] {
            QStringList shown;
            for (int i = 0; i < dlg.dir->count(); ++i) {
                shown << dlg.dir->item(i)->text();
            }
            return shown;
        };
        const QStringList down = QDir::cleanPath(Tree() + "a").split('/', Qt::SkipEmptyParts);
        QCOMPARE(rows(), (QStringList{"/"} + down + QStringList{"b", "C", "c2", "d"}));
        QCOMPARE(dlg.dir->currentRow(), down.size());
        QCOMPARE(dlg.drive->currentData().toString(),
                 player::frmSkins::VolumeFor(player::frmSkins::Volumes(), Tree() + "a"));

        const auto centre = [&](const QString& name) {
            QListWidgetItem* item = dlg.dir->findItems(name, Qt::MatchExactly).value(0);
            dlg.dir->scrollToItem(item);
            return dlg.dir->visualItemRect(item).center();
        };
        QTest::mouseClick(dlg.dir->viewport(), Qt::LeftButton, {}, centre("b"));
        QCOMPARE(dlg.dir->currentItem()->text(), QString("b"));
        QCOMPARE(dlg.GetValue(), Tree() + "a/");
        // As a mouse does it: press and release, then the second press as a double click.
        QTest::mouseClick(dlg.dir->viewport(), Qt::LeftButton, {}, centre("b"));
        QTest::mouseDClick(dlg.dir->viewport(), Qt::LeftButton, {}, centre("b"));
        QCOMPARE(dlg.GetValue(), Tree() + "a/b/");
        QCOMPARE(rows().last(), QStringLiteral("inner"));
        const QString tree = QFileInfo(QDir::cleanPath(Tree())).fileName();
        QTest::mouseClick(dlg.dir->viewport(), Qt::LeftButton, {}, centre(tree));
        QTest::mouseDClick(dlg.dir->viewport(), Qt::LeftButton, {}, centre(tree));
        QCOMPARE(dlg.GetValue(), Tree());
        dlg.dir->setFocus();
        dlg.dir->setCurrentRow(dlg.dir->count() - 1);  // "a", the last subfolder of the tree
        QTest::keyClick(dlg.dir, Qt::Key_Return);
        QCOMPARE(dlg.GetValue(), Tree() + "a/");
        QVERIFY(dlg.isVisible() && !dlg.ReturnState());

        const int root = dlg.drive->findData(QStringLiteral("/"));
        QVERIFY(root >= 0);
        dlg.drive->setCurrentIndex(root);
        emit dlg.drive->activated(root);
        QCOMPARE(dlg.GetValue(), QStringLiteral("/"));
    }

    // OK, or Enter with the drive list focused (OK is the default), chooses; Cancel and
    // Escape do not. Either way the dialog hides itself.
    void closing() {
        for (const QString how : {"ok", "enter", "cancel", "escape"}) {
            testsupport::ScriptedModal modal;
            bool hiddenByDialog = false;
            modal.Next([&](QDialog* d) {
                auto* dlg = qobject_cast<player::frmSkins*>(d);
                dlg->show();
                QVERIFY(QTest::qWaitForWindowExposed(dlg));
                if (how == "ok" || how == "cancel") {
                    QTest::mouseClick(how == "ok" ? dlg->cmdOK : dlg->cmdCancel, Qt::LeftButton);
                } else {
                    dlg->drive->setFocus();
                    QTest::keyClick(dlg->drive, how == "enter" ? Qt::Key_Return : Qt::Key_Escape);
                }
                hiddenByDialog = !dlg->isVisible();
            });
            player::frmSkins dlg;
            dlg.SetValue(Tree() + "a");
            platform::ShowModal(&dlg, nullptr);
            QVERIFY(hiddenByDialog && modal.Unexpected() == 0);
            QCOMPARE(dlg.ReturnState(), how == "ok" || how == "enter");
            QCOMPARE(dlg.GetValue(), Tree() + "a/");
        }
    }

    // The longest mount that holds the folder, whole components only.
    void volumeFor() {
        const QStringList mounts{"/", "/home", "/home/sam/music/", "/mnt/usb"};
        QCOMPARE(player::frmSkins::VolumeFor(mounts, "/home/sam/music/skins"), "/home/sam/music");
        QCOMPARE(player::frmSkins::VolumeFor(mounts, "/homework/x"), "/");
        QCOMPARE(player::frmSkins::VolumeFor({"/mnt/usb"}, "/home/x"), QString());
    }
};

QTEST_MAIN(tst_Skins)
#include "tst_skins.moc"
