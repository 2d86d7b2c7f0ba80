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

// Each skin on disk has its own colour, so a button's picture tells where it came from.
constexpr QRgb Grey = 0xff808080;  // what the buttons show before a skin is loaded
constexpr QRgb Green = 0xff00c000;
constexpr QRgb Red = 0xffc00000;
constexpr QRgb Blue = 0xff0000c0;
constexpr QRgb Yellow = 0xffc0c000;
constexpr QRgb Dark = 0xff202020;  // every pressed bitmap

// A skin folder of ten bitmaps in one colour, less the names in missing.
void WriteSkin(const QString& folder, QRgb colour, const QStringList& missing = {}) {
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

// A loader for the five buttons that records the paths it was asked for and the colour
// each button shows (grey until a bitmap loads).
struct Buttons {
    QStringList tried;
    QList<QRgb> shown = QList<QRgb>(5, Grey);
    player::SkinLoader Loader() {
        return [this](SkinButton button, const QString& path) {
            tried.append(path);
            const QImage image(path);
            if (!image.isNull()) {
                shown[static_cast<int>(button)] = image.pixel(0, 0);
            }
            return !image.isNull();
        };
    }
};

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

// Qt's form of a folder (no trailing separator but for the root).
QString Clean(const QString& folder) {
    return QDir::cleanPath(folder);
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
        WriteSkin(Default("good"), Green);
        WriteSkin(Skins("good") + "nopause/", Red, {"pause.bmp"});
        WriteSkin(Skins("good") + "night/", Blue);
        WriteSkin(Default("broken"), Green, {"open.bmp"});
        WriteSkin(Skins("broken") + "nopause/", Red, {"pause.bmp"});
        WriteSkin(Outside() + "partial/", Yellow, {"next.bmp", "pause.bmp", "open.bmp"});
        for (const char* d : {"a/b/inner", "a/C", "a/d", "a/.hidden", "a/c2/deep"}) {
            QVERIFY(QDir().mkpath(Tree() + d));
        }
    }

    void fallback_data() {
        QTest::addColumn<QString>("install");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("tried");
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("message");
        QTest::addColumn<int>("passes");
        QTest::addColumn<QList<QRgb>>("shown");
        auto row = [](const char* name, const char* install, const char* folder,
                      const QStringList& tried, const char* result, bool message, int passes,
                      const QList<QRgb>& shown) {
            QTest::newRow(name) << QString(install) << QString(folder) << tried << QString(result)
                                << message << passes << shown;
        };
        const QList<QRgb> green(5, Green);
        const QList<QRgb> greenLessOpen{Green, Green, Green, Green, Grey};
        const QStringList byDefault = Upto("$S/default/");
        row("a whole skin inside the skins folder", "good", "$S/night/", Upto("$S/night/"),
            "$S/night/", false, 1, QList<QRgb>(5, Blue));
        row("skin lacking pause.bmp: the default, silently", "good", "$S/nopause/",
            Upto("$S/nopause/", SkinButton::Pause) + byDefault, "$S/default/", false, 2, green);
        row("missing folder inside the skins folder: the default", "good", "$S/gone/",
            QStringList{"$S/gone/play.bmp"} + byDefault, "$S/default/", false, 2, green);
        row("empty folder: the default, nothing read from the current folder", "good", "",
            byDefault, "$S/default/", false, 2, green);
        row("default lacking a bitmap: message, folder empty", "broken", "$S/default/", byDefault,
            "", true, 1, greenLessOpen);
        row("skin lacking pause.bmp, default lacking a bitmap", "broken", "$S/nopause/",
            Upto("$S/nopause/", SkinButton::Pause) + byDefault, "", true, 2, greenLessOpen);
        row("outside the skins folder, three bitmaps short: kept", "good", "$O/partial/",
            Upto("$O/partial/", SkinButton::Next), "$O/partial/", false, 1,
            {Yellow, Yellow, Grey, Grey, Grey});
        // Letter case counts in both comparisons.
        row("default in other letter case is another skin folder", "good", "$S/DEFAULT/",
            QStringList{"$S/DEFAULT/play.bmp"} + byDefault, "$S/default/", false, 2, green);
        row("skins folder in other letter case is outside it", "good", "$U/night/",
            {"$U/night/play.bmp"}, "$U/night/", false, 1, QList<QRgb>(5, Grey));
    }
    void fallback() {
        QFETCH(QString, install);
        QFETCH(QString, folder);
        QFETCH(QStringList, tried);
        QFETCH(QString, result);
        Buttons buttons;
        int colourRuns = 0;
        const player::SkinLoadResult r = player::LoadSkin(
            Resolve(folder, install), buttons.Loader(), [&] { ++colourRuns; }, Skins(install),
            Default(install));
        for (QString& t : tried) {
            t = Resolve(t, install);
        }
        QCOMPARE(buttons.tried, tried);
        QCOMPARE(r.SkinFolder, Resolve(result, install));
        QTEST(r.ShowSkinsMessage, "message");
        QTEST(colourRuns, "passes");
        QTEST(buttons.shown, "shown");
    }

    void skinsMessage() {
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(platform::MsgResult::OK);
        player::ShowSkinsMessage(nullptr);
        QCOMPARE(boxes.Asked().size(), 1);
        const platform::MsgBoxCall& box = boxes.Asked().first();
        QCOMPARE(box.title + ": " + box.text,
                 QStringLiteral("Skins: Error in skins could not be corrected. Please reinstall "
                                "skin.\rIgnoring this error may cause desirable operations."));
        QVERIFY(box.buttons == platform::MsgButtons::OK && box.icon == platform::MsgIcon::Critical);
    }

    // The skins the program ships load whole, the default one too when none is set, and
    // every bitmap the press feedback names is in them.
    void programSkins() {
        Buttons buttons;
        const player::SkinLoadResult r = player::LoadSkin(QString(), buttons.Loader(), {});
        QCOMPARE(r.SkinFolder, player::DefaultSkinFolder());
        QVERIFY(!r.ShowSkinsMessage);
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
    // does not load leaves the picture as it is.
    void pressFeedback_data() {
        QTest::addColumn<QString>("skin");  // relative to the temporary folder; "" for none
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QRgb>("down");
        QTest::addColumn<QRgb>("up");
        auto row = [](const char* name, const char* skin, const char* missing, QRgb down, QRgb up) {
            QTest::newRow(name) << QString(skin) << QString(missing) << down << up;
        };
        row("whole skin", "press/whole/", "", Dark, Green);
        row("pressed bitmap missing", "press/nodown/", "play_down.bmp", Green, Green);
        row("no skin folder: nothing from the current folder", "", "", Green, Green);
    }
    void pressFeedback() {
        QFETCH(QString, skin);
        QFETCH(QString, missing);
        QFETCH(QRgb, down);
        const QString folder = skin.isEmpty() ? QString() : tmp.filePath(skin) + "/";
        if (!skin.isEmpty()) {
            WriteSkin(folder, Green, {missing});
        }
        // Bitmaps of the same names in the current folder must not be picked up.
        WriteSkin(tmp.filePath("lure") + "/", Yellow);
        const QString before = QDir::currentPath();
        QDir::setCurrent(tmp.filePath("lure"));
        player::ImageButton button;
        QPixmap green(16, 8);
        green.fill(QColor::fromRgb(Green));
        button.setPixmap(green);
        button.LoadPicture(player::PressFeedbackPath(folder, SkinButton::Play, true));
        const QRgb shownDown = Shown(button);
        button.LoadPicture(player::PressFeedbackPath(folder, SkinButton::Play, false));
        QDir::setCurrent(before);
        QCOMPARE(shownDown, down);
        QTEST(Shown(button), "up");
    }

    void setValue_data() {
        QTest::addColumn<QString>("current");  // "$T/" is the test tree
        QTest::addColumn<QString>("opened");   // "$SKINS" the program's skins folder
        QTest::addColumn<bool>("exact");
        auto row = [](const char* name, const char* current, const char* opened, bool exact) {
            QTest::newRow(name) << QString(current) << QString(opened) << exact;
        };
        row("without the separator", "$T/a/b", "$T/a/b/", true);
        row("dot-dot steps", "$T/a/b/../C/", "$T/a/C/", true);
        row("missing folder: its nearest parent", "$T/a/gone/deeper/", "$T/a/", false);
        row("empty: the skins folder", "", "$SKINS", false);
        row("relative, as from a Windows settings file", "D:\\Lyrics\\skins\\night\\", "$SKINS",
            false);
        row("the root", "/", "/", true);
    }
    // The folder opened becomes the current folder; nothing is chosen until OK.
    void setValue() {
        QFETCH(QString, current);
        QFETCH(QString, opened);
        const auto resolve = [this](QString s) {
            return s.replace("$T/", Tree()).replace("$SKINS", player::SkinsFolder());
        };
        const QString before = QDir::currentPath();
        player::frmSkins dlg;
        QCOMPARE(dlg.GetValue(), QString());
        QTEST(dlg.SetValue(resolve(current)), "exact");
        const QString value = dlg.GetValue();
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(before);
        QCOMPARE(value, resolve(opened));
        QCOMPARE(cwd, Clean(resolve(opened)));
        QVERIFY(!dlg.ReturnState());
    }

    // The way down from the root, the open folder highlighted, then its subfolders in name
    // order whatever their case, hidden ones left out; the drive list follows the open
    // folder, and choosing a volume opens it.
    void folderAndDriveLists() {
        player::frmSkins dlg;
        dlg.SetValue(Tree() + "a");
        QStringList expected{"/"};
        expected += Clean(Tree() + "a").split('/', Qt::SkipEmptyParts);
        const int openRow = static_cast<int>(expected.size()) - 1;
        expected += QStringList{"b", "C", "c2", "d"};
        QStringList shown;
        for (int i = 0; i < dlg.dir->count(); ++i) {
            shown.append(dlg.dir->item(i)->text());
        }
        QCOMPARE(shown, expected);
        QCOMPARE(dlg.dir->currentRow(), openRow);

        QStringList volumes;
        for (int i = 0; i < dlg.drive->count(); ++i) {
            volumes.append(dlg.drive->itemData(i).toString());
        }
        QCOMPARE(dlg.drive->currentData().toString(),
                 player::frmSkins::VolumeFor(volumes, Tree() + "a"));
        const int root = dlg.drive->findData(QStringLiteral("/"));
        QVERIFY2(root >= 0, qPrintable(volumes.join(' ')));
        dlg.drive->setCurrentIndex(root);
        emit dlg.drive->activated(root);
        QCOMPARE(dlg.GetValue(), QStringLiteral("/"));
    }

    // A click only highlights; a double click or Enter opens the folder (Enter does not
    // press OK); the way up opens a parent.
    void openingFolders() {
        player::frmSkins dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.SetValue(Tree() + "a");
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
        QCOMPARE(dlg.dir->item(dlg.dir->count() - 1)->text(), QStringLiteral("inner"));

        const QString tree = QFileInfo(Clean(Tree())).fileName();
        QTest::mouseClick(dlg.dir->viewport(), Qt::LeftButton, {}, centre(tree));
        QTest::mouseDClick(dlg.dir->viewport(), Qt::LeftButton, {}, centre(tree));
        QCOMPARE(dlg.GetValue(), Tree());

        dlg.dir->setFocus();
        dlg.dir->setCurrentRow(dlg.dir->count() - 1);  // "a", the last subfolder of the tree
        QTest::keyClick(dlg.dir, Qt::Key_Return);
        QCOMPARE(dlg.GetValue(), Tree() + "a/");
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.ReturnState());
    }

    void closing_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("state");
        QTest::newRow("OK") << "ok" << true;
        QTest::newRow("Enter with the drive list focused: OK is the default") << "enter" << true;
        QTest::newRow("Cancel") << "cancel" << false;
        QTest::newRow("Escape") << "escape" << false;
    }
    void closing() {
        QFETCH(QString, how);
        testsupport::ScriptedModal modal;
        bool hiddenByDialog = false;
        modal.Next([&](QDialog* d) {
            auto* dlg = qobject_cast<player::frmSkins*>(d);
            dlg->show();
            QVERIFY(QTest::qWaitForWindowExposed(dlg));
            if (how == "ok" || how == "cancel") {
                QTest::mouseClick(how == "ok" ? dlg->cmdOK : dlg->cmdCancel, Qt::LeftButton);
            } else if (how == "enter") {
                dlg->drive->setFocus();
                QTest::keyClick(dlg->drive, Qt::Key_Return);
            } else {
                QTest::keyClick(dlg, Qt::Key_Escape);
            }
            hiddenByDialog = !dlg->isVisible();
        });
        player::frmSkins dlg;
        dlg.SetValue(Tree() + "a");
        platform::ShowModal(&dlg, nullptr);
        QCOMPARE(modal.Unexpected(), 0);
        QVERIFY(hiddenByDialog);
        QTEST(dlg.ReturnState(), "state");
        QCOMPARE(dlg.GetValue(), Tree() + "a/");
    }

    void volumeFor_data() {
        QTest::addColumn<QStringList>("volumes");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("volume");
        const QStringList mounts{"/", "/home", "/home/sam/music/", "/mnt/usb"};
        auto row = [](const char* name, const QStringList& volumes, const char* folder,
                      const char* volume) {
            QTest::newRow(name) << volumes << QString(folder) << QString(volume);
        };
        row("longest holding mount", mounts, "/home/sam/music/skins", "/home/sam/music");
        row("same leading letters, other folder", mounts, "/homework/x", "/");
        row("none holds it", {"/mnt/usb"}, "/home/x", "");
    }
    void volumeFor() {
        QFETCH(QStringList, volumes);
        QFETCH(QString, folder);
        QTEST(player::frmSkins::VolumeFor(volumes, folder), "volume");
    }
};

QTEST_MAIN(tst_Skins)
#include "tst_skins.moc"
