// Skins: the fallback of ApplySkin against skin folders on disk, the bitmaps pressed
// buttons show, and the Skin Selection dialog.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <memory>

#include "platform/Folders.h"
#include "platform/Modal.h"
#include "player/ImageButton.h"
#include "player/Skin.h"
#include "player/frmSkins.h"
#include "support/Scripted.h"

using platform::MsgResult;
using player::SkinButton;

Q_DECLARE_METATYPE(SkinButton)

namespace {

// Each skin on disk has its own colour, so a button's picture tells where it came from.
constexpr QRgb Grey = 0xff808080;  // what the buttons show before a skin is loaded
constexpr QRgb Green = 0xff00c000;
constexpr QRgb Red = 0xffc00000;
constexpr QRgb Blue = 0xff0000c0;
constexpr QRgb Yellow = 0xffc0c000;
constexpr QRgb Dark = 0xff202020;  // every pressed bitmap

void WriteBitmap(const QString& path, QRgb colour) {
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY2(image.save(path, "BMP"), qPrintable(path));
}

// A skin folder of ten bitmaps in one colour, less the names in missing.
void WriteSkin(const QString& folder, QRgb colour, const QStringList& missing = {}) {
    QVERIFY(QDir().mkpath(folder));
    for (SkinButton b : player::SkinLoadOrder) {
        if (!missing.contains(player::NormalBitmapName(b))) {
            WriteBitmap(folder + player::NormalBitmapName(b), colour);
        }
        if (!missing.contains(player::PressedBitmapName(b))) {
            WriteBitmap(folder + player::PressedBitmapName(b), Dark);
        }
    }
}

QRgb Shown(const player::ImageButton& button) {
    return button.pixmap().toImage().pixel(0, 0);
}

QPixmap Solid(QRgb colour) {
    QPixmap p(16, 8);
    p.fill(QColor::fromRgb(colour));
    return p;
}

// The five buttons of the player in load order, each showing grey at first.
struct Buttons {
    std::array<std::unique_ptr<player::ImageButton>, 5> b;
    QStringList tried;
    Buttons() {
        for (auto& button : b) {
            button = std::make_unique<player::ImageButton>();
            button->setPixmap(Solid(Grey));
        }
    }
    player::SkinLoader Loader() {
        return [this](SkinButton button, const QString& path) {
            tried.append(path);
            return b[static_cast<int>(button)]->LoadPicture(path);
        };
    }
    QList<QRgb> Colours() const {
        QList<QRgb> out;
        for (const auto& button : b) {
            out.append(Shown(*button));
        }
        return out;
    }
};

QStringList All(const QString& folder) {
    QStringList out;
    for (SkinButton b : player::SkinLoadOrder) {
        out.append(folder + player::NormalBitmapName(b));
    }
    return out;
}

QStringList Upto(const QString& folder, SkinButton last) {
    return All(folder).mid(0, static_cast<int>(last) + 1);
}

// Qt's form of a folder (no trailing separator but for the root).
QString Clean(const QString& folder) {
    return QDir::cleanPath(QDir::fromNativeSeparators(folder));
}

const QString Sep = QStringLiteral("/");

}  // namespace

class tst_Skins : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    // Two installs: one whose default skin is whole, one whose default lacks open.bmp.
    QString Install(const QString& name) const { return tmp.filePath(name) + Sep; }
    QString Skins(const QString& install) const { return Install(install) + "skins" + Sep; }
    QString Default(const QString& install) const { return Skins(install) + "default" + Sep; }
    QString Outside() const { return tmp.filePath("outside") + Sep; }
    QString Tree() const { return tmp.filePath("tree") + Sep; }

    // "$S" is the install's skins folder, "$U" the same in capitals, "$O" a folder outside it.
    QString Resolve(QString token, const QString& install) const {
        token.replace("$S/", Skins(install));
        token.replace("$O/", Outside());
        token.replace("$U/", Install(install) + "SKINS" + Sep);
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
        QVERIFY(QDir().mkpath(Outside() + "empty"));
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

        const QList<QRgb> green(5, Green);
        const QList<QRgb> greenLessOpen{Green, Green, Green, Green, Grey};
        const QList<QRgb> none(5, Grey);

        QTest::newRow("a whole skin inside the skins folder")
            << "good"
            << "$S/night/" << All("$S/night/") << "$S/night/" << false << 1 << QList<QRgb>(5, Blue);
        QTest::newRow("skin lacking pause.bmp: the default, silently")
            << "good"
            << "$S/nopause/" << Upto("$S/nopause/", SkinButton::Pause) + All("$S/default/")
            << "$S/default/" << false << 2 << green;
        QTest::newRow("missing folder inside the skins folder: the default")
            << "good"
            << "$S/gone/" << QStringList{"$S/gone/play.bmp"} + All("$S/default/") << "$S/default/"
            << false << 2 << green;
        QTest::newRow("empty folder: the default, nothing read from the current folder")
            << "good"
            << "" << All("$S/default/") << "$S/default/" << false << 2 << green;
        QTest::newRow("default lacking a bitmap: message, folder empty")
            << "broken"
            << "$S/default/" << All("$S/default/") << "" << true << 1 << greenLessOpen;
        QTest::newRow("skin lacking pause.bmp, default lacking a bitmap")
            << "broken"
            << "$S/nopause/" << Upto("$S/nopause/", SkinButton::Pause) + All("$S/default/") << ""
            << true << 2 << greenLessOpen;
        QTest::newRow("empty folder, default lacking a bitmap")
            << "broken"
            << "" << All("$S/default/") << "" << true << 2 << greenLessOpen;
        QTest::newRow("outside the skins folder, three bitmaps short: kept")
            << "good"
            << "$O/partial/" << Upto("$O/partial/", SkinButton::Next) << "$O/partial/" << false << 1
            << QList<QRgb>{Yellow, Yellow, Grey, Grey, Grey};
        QTest::newRow("outside the skins folder, no bitmaps: kept")
            << "good"
            << "$O/empty/" << Upto("$O/empty/", SkinButton::Play) << "$O/empty/" << false << 1
            << none;
        // Letter case counts in both comparisons.
        QTest::newRow("default in other letter case is another skin folder")
            << "good"
            << "$S/DEFAULT/" << QStringList{"$S/DEFAULT/play.bmp"} + All("$S/default/")
            << "$S/default/" << false << 2 << green;
        QTest::newRow("skins folder in other letter case is outside it")
            << "good"
            << "$U/night/" << QStringList{"$U/night/play.bmp"} << "$U/night/" << false << 1 << none;
    }

    void fallback() {
        QFETCH(QString, install);
        QFETCH(QString, folder);
        QFETCH(QStringList, tried);
        QFETCH(QString, result);
        QFETCH(bool, message);
        QFETCH(int, passes);
        QFETCH(QList<QRgb>, shown);

        Buttons buttons;
        int colourRuns = 0;
        const player::SkinLoadResult r = player::LoadSkin(
            Resolve(folder, install), buttons.Loader(), [&] { ++colourRuns; }, Skins(install),
            Default(install));

        QStringList expectedTried;
        for (const QString& t : tried) {
            expectedTried.append(Resolve(t, install));
        }
        QCOMPARE(buttons.tried, expectedTried);
        QCOMPARE(r.SkinFolder, Resolve(result, install));
        QCOMPARE(r.ShowSkinsMessage, message);
        QCOMPARE(colourRuns, passes);
        QCOMPARE(buttons.Colours(), shown);
    }

    void skinsMessage() {
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(MsgResult::OK);
        player::ShowSkinsMessage(nullptr);
        QCOMPARE(boxes.Asked().size(), 1);
        const platform::MsgBoxCall& box = boxes.Asked().first();
        QCOMPARE(box.title, QStringLiteral("Skins"));
        QCOMPARE(box.text, QStringLiteral("Error in skins could not be corrected. Please reinstall "
                                          "skin.\rIgnoring this error may cause desirable "
                                          "operations."));
        QCOMPARE(box.buttons, platform::MsgButtons::OK);
        QCOMPARE(box.icon, platform::MsgIcon::Critical);
        QCOMPARE(boxes.Unexpected(), 0);
    }

    // The program's own folders, and the skins shipped in them.
    void programSkins() {
        const QString skins = platform::ResourceFolder() + Sep + "skins" + Sep;
        QCOMPARE(player::SkinsFolder(), skins);
        QCOMPARE(player::DefaultSkinFolder(), skins + "default" + Sep);

        Buttons buttons;
        const player::SkinLoadResult r = player::LoadSkin(QString(), buttons.Loader(), {});
        QCOMPARE(r.SkinFolder, player::DefaultSkinFolder());
        QVERIFY(!r.ShowSkinsMessage);
        QCOMPARE(buttons.tried, All(player::DefaultSkinFolder()));

        const player::SkinLoadResult night =
            player::LoadSkin(skins + "night" + Sep, buttons.Loader(), {});
        QCOMPARE(night.SkinFolder, skins + "night" + Sep);
    }

    void shippedBitmaps_data() {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<SkinButton>("button");
        for (const char* skin : {"default", "night"}) {
            for (SkinButton b : player::SkinLoadOrder) {
                QTest::addRow("%s %s", skin, qPrintable(player::NormalBitmapName(b)))
                    << QString::fromLatin1(skin) << b;
            }
        }
    }

    // Both bitmaps the press feedback names are in every skin the program ships.
    void shippedBitmaps() {
        QFETCH(QString, skin);
        QFETCH(SkinButton, button);
        const QString folder = player::SkinsFolder() + skin + Sep;
        for (bool pressed : {true, false}) {
            const QString path = player::PressFeedbackPath(folder, button, pressed);
            QVERIFY2(!QPixmap(path).isNull(), qPrintable(path));
        }
        QVERIFY(player::PressFeedbackPath(folder, button, true) !=
                player::PressFeedbackPath(folder, button, false));
    }

    void pressFeedback_data() {
        QTest::addColumn<QString>("skin");  // relative to the temporary folder; "" for none
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QRgb>("down");
        QTest::addColumn<QRgb>("up");

        QTest::newRow("whole skin") << "press/whole/"
                                    << "" << Dark << Green;
        QTest::newRow("pressed bitmap missing: the picture stays")
            << "press/nodown/"
            << "play_down.bmp" << Green << Green;
        QTest::newRow("normal bitmap missing: the pressed picture stays")
            << "press/noup/"
            << "play.bmp" << Dark << Dark;
        QTest::newRow("no skin folder: nothing from the current folder") << ""
                                                                         << "" << Green << Green;
    }

    void pressFeedback() {
        QFETCH(QString, skin);
        QFETCH(QString, missing);
        QFETCH(QRgb, down);
        QFETCH(QRgb, up);

        QString folder;
        if (!skin.isEmpty()) {
            folder = tmp.filePath(skin) + Sep;
            WriteSkin(folder, Green, {missing});
        }
        // Bitmaps of the same names in the current folder must not be picked up.
        const QString lure = tmp.filePath("lure");
        WriteSkin(lure + Sep, Yellow);
        const QString before = QDir::currentPath();
        QDir::setCurrent(lure);

        player::ImageButton button;
        button.setPixmap(Solid(Green));
        button.LoadPicture(player::PressFeedbackPath(folder, SkinButton::Play, true));
        const QRgb shownDown = Shown(button);
        button.LoadPicture(player::PressFeedbackPath(folder, SkinButton::Play, false));
        const QRgb shownUp = Shown(button);
        QDir::setCurrent(before);

        QCOMPARE(shownDown, down);
        QCOMPARE(shownUp, up);
    }

    void setValue_data() {
        QTest::addColumn<QString>("current");  // "$T/" is the test tree
        QTest::addColumn<QString>("opened");   // "$SKINS" the program's skins folder
        QTest::addColumn<bool>("exact");

        QTest::newRow("with the separator") << "$T/a/"
                                            << "$T/a/" << true;
        QTest::newRow("without it") << "$T/a/b"
                                    << "$T/a/b/" << true;
        QTest::newRow("dot-dot steps") << "$T/a/b/../C/"
                                       << "$T/a/C/" << true;
        QTest::newRow("missing folder: its nearest parent") << "$T/a/gone/deeper/"
                                                            << "$T/a/" << false;
        QTest::newRow("empty: the skins folder") << ""
                                                 << "$SKINS" << false;
        QTest::newRow("relative, as from a Windows settings file") << "D:\\Lyrics\\skins\\night\\"
                                                                   << "$SKINS" << false;
        QTest::newRow("the root") << "/"
                                  << "/" << true;
    }

    void setValue() {
        QFETCH(QString, current);
        QFETCH(QString, opened);
        QFETCH(bool, exact);
        const auto resolve = [this](QString s) {
            s.replace("$T/", Tree());
            s.replace("$SKINS", player::SkinsFolder());
            return s;
        };

        const QString before = QDir::currentPath();
        player::frmSkins dlg;
        QCOMPARE(dlg.GetValue(), QString());
        QCOMPARE(dlg.SetValue(resolve(current)), exact);
        const QString value = dlg.GetValue();
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(before);

        QCOMPARE(value, resolve(opened));
        QCOMPARE(cwd, Clean(resolve(opened)));
        QVERIFY(!dlg.ReturnState());
    }

    // The way down from the root, the open folder highlighted, then its subfolders in name
    // order whatever their case, hidden ones left out.
    void folderList() {
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
    }

    void clickHighlightsDoubleClickOpens() {
        player::frmSkins dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.SetValue(Tree() + "a");
        const auto itemNamed = [&](const QString& name) {
            const QList<QListWidgetItem*> found = dlg.dir->findItems(name, Qt::MatchExactly);
            return found.isEmpty() ? nullptr : found.last();
        };
        const auto centre = [&](QListWidgetItem* item) {
            dlg.dir->scrollToItem(item);
            return dlg.dir->visualItemRect(item).center();
        };
        // As a mouse does it: press and release, then the second press as a double click.
        const auto doubleClick = [&](QListWidgetItem* item) {
            QTest::mouseClick(dlg.dir->viewport(), Qt::LeftButton, {}, centre(item));
            QTest::mouseDClick(dlg.dir->viewport(), Qt::LeftButton, {}, centre(item));
        };

        QListWidgetItem* b = itemNamed("b");
        QVERIFY(b);
        QTest::mouseClick(dlg.dir->viewport(), Qt::LeftButton, {}, centre(b));
        QCOMPARE(dlg.dir->currentItem(), b);
        QCOMPARE(dlg.GetValue(), Tree() + "a" + Sep);

        doubleClick(b);
        QCOMPARE(dlg.GetValue(), Tree() + "a/b" + Sep);
        QCOMPARE(dlg.dir->item(dlg.dir->count() - 1)->text(), QStringLiteral("inner"));

        // Up the way again: the test tree's own entry.
        QListWidgetItem* tree = itemNamed(QFileInfo(Clean(Tree())).fileName());
        QVERIFY(tree);
        doubleClick(tree);
        QCOMPARE(dlg.GetValue(), Tree());
        QVERIFY(itemNamed("a"));
        QVERIFY(!itemNamed("b"));
        QVERIFY(!dlg.ReturnState());
    }

    void enterOpensTheHighlightedFolder() {
        player::frmSkins dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.SetValue(Tree() + "a");
        dlg.dir->setFocus();
        QTest::keyClick(dlg.dir, Qt::Key_Down);  // from "a" to "b"
        QCOMPARE(dlg.GetValue(), Tree() + "a" + Sep);
        QTest::keyClick(dlg.dir, Qt::Key_Return);
        QCOMPARE(dlg.GetValue(), Tree() + "a/b" + Sep);
        // The key opened a folder and did not press OK.
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.ReturnState());
    }

    void closing_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("state");
        QTest::newRow("OK") << "ok" << true;
        QTest::newRow("Enter with the drive list focused: OK is the default") << "enter" << true;
        QTest::newRow("Cancel") << "cancel" << false;
        QTest::newRow("title bar") << "close" << false;
        QTest::newRow("Escape") << "escape" << false;
    }

    void closing() {
        QFETCH(QString, how);
        QFETCH(bool, state);
        testsupport::ScriptedModal modal;
        bool hiddenByDialog = false;
        modal.Next([&](QDialog* d) {
            auto* dlg = qobject_cast<player::frmSkins*>(d);
            QVERIFY(dlg);
            dlg->show();
            QVERIFY(QTest::qWaitForWindowExposed(dlg));
            if (how == "ok") {
                QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
            } else if (how == "enter") {
                dlg->drive->setFocus();
                QTest::keyClick(dlg->drive, Qt::Key_Return);
            } else if (how == "cancel") {
                QTest::mouseClick(dlg->cmdCancel, Qt::LeftButton);
            } else if (how == "close") {
                dlg->close();
            } else {
                QTest::keyClick(dlg, Qt::Key_Escape);
            }
            hiddenByDialog = !dlg->isVisible();
        });

        player::frmSkins dlg;
        dlg.SetValue(Tree() + "a");
        QVERIFY(!dlg.ReturnState());
        platform::ShowModal(&dlg, nullptr);
        QCOMPARE(modal.Unexpected(), 0);
        QVERIFY(hiddenByDialog);
        QCOMPARE(dlg.ReturnState(), state);
        QCOMPARE(dlg.GetValue(), Tree() + "a" + Sep);
    }

    void driveList() {
        player::frmSkins dlg;
        QStringList volumes;
        for (int i = 0; i < dlg.drive->count(); ++i) {
            volumes.append(dlg.drive->itemData(i).toString());
        }
        QVERIFY2(volumes.contains("/"), qPrintable(volumes.join(' ')));

        dlg.SetValue(Tree() + "a");
        const QString volume = dlg.drive->currentData().toString();
        QCOMPARE(volume, player::frmSkins::VolumeFor(volumes, Tree() + "a"));
        QVERIFY(Clean(Tree()).startsWith(volume));

        // Choosing the root moves the folder list there.
        const int root = dlg.drive->findData(QStringLiteral("/"));
        dlg.drive->setCurrentIndex(root);
        emit dlg.drive->activated(root);
        QCOMPARE(dlg.GetValue(), QStringLiteral("/"));
        QCOMPARE(dlg.dir->item(0)->text(), QStringLiteral("/"));
        const QString top = Clean(Tree()).split('/', Qt::SkipEmptyParts).first();
        QVERIFY(!dlg.dir->findItems(top, Qt::MatchExactly).isEmpty());

        // Opening a folder takes the drive list along.
        dlg.SetValue(Tree() + "a");
        QCOMPARE(dlg.drive->currentData().toString(), volume);
    }

    void volumeFor_data() {
        QTest::addColumn<QStringList>("volumes");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("volume");
        const QStringList mounts{"/", "/home", "/home/sam/music/", "/mnt/usb"};
        QTest::newRow("longest holding mount") << mounts << "/home/sam/skins/"
                                               << "/home";
        QTest::newRow("nested mount") << mounts << "/home/sam/music/skins"
                                      << "/home/sam/music";
        QTest::newRow("the mount point itself") << mounts << "/mnt/usb/"
                                                << "/mnt/usb";
        QTest::newRow("same leading letters, other folder") << mounts << "/homework/x"
                                                            << "/";
        QTest::newRow("the root") << mounts << "/"
                                  << "/";
        QTest::newRow("none holds it") << QStringList{"/mnt/usb"} << "/home/x"
                                       << "";
    }

    void volumeFor() {
        QFETCH(QStringList, volumes);
        QFETCH(QString, folder);
        QFETCH(QString, volume);
        QCOMPARE(player::frmSkins::VolumeFor(volumes, folder), volume);
    }
};

QTEST_MAIN(tst_Skins)
#include "tst_skins.moc"
