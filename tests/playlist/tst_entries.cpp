// The entry dialog and its number rules, and the entry commands the encoder calls.
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "platform/LocalWindow.h"
#include "playlist/EntryCommands.h"
#include "playlist/EntryNumber.h"
#include "playlist/Playlist.h"
#include "playlist/frmAssoc.h"
#include "support/Files.h"
#include "support/Scripted.h"
#include "winamp/Link.h"
#include "winamp/Messages.h"

using platform::MsgResult;
using playlist::frmAssoc;
using playlist::PlaylistEntry;
using testsupport::ScriptedBoxes;
using testsupport::ScriptedDialogs;
using testsupport::ScriptedModal;
using Typed = std::optional<int>;

Q_DECLARE_METATYPE(Typed)

// Winamp on its 5th song; the posts it got.
struct FifthSong {
    QList<platform::WPARAM> posts;
    platform::LocalWindow window{QString::fromLatin1(winamp::WindowClass),
                                 [this](const platform::Message& m) -> platform::LRESULT {
                                     if (m.Posted) {
                                         posts << m.WParam;
                                     }
                                     return m.LParam == winamp::AskListPosition ? 4 : 0;
                                 },
                                 platform::LocalWindow::Scope::Process};
};

class tst_entries : public QObject {
    Q_OBJECT
    FifthSong fifth;
    winamp::WinampLink link;
    QTemporaryDir dir;

    // Fills the dialog with file and confirms it.
    static std::function<void(QDialog*)> Confirm(const QString& file) {
        return [file](QDialog* d) {
            auto* dialog = static_cast<frmAssoc*>(d);
            dialog->SetValue(7, QStringLiteral("Song - Artist"), file);
            dialog->cmdOK_Click();
        };
    }

  private slots:
    void initTestCase() { QVERIFY(link.Redetect()); }

    void typedNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<Typed>("number");
        const Typed none;
        QTest::newRow("12") << "12" << 1 << 1000 << Typed(12);
        QTest::newRow("empty") << "" << 1 << 1000 << none;
        QTest::newRow("0") << "0" << 1 << 1000 << none;
        QTest::newRow("1001") << "1001" << 1 << 1000 << none;
        QTest::newRow("7.5 to even") << "7.5" << 1 << 1000 << Typed(8);
        QTest::newRow("6.5 to even") << "6.5" << 1 << 1000 << Typed(6);
        QTest::newRow("1000.5 to even") << "1000.5" << 1 << 1000 << Typed(1000);
        QTest::newRow("minus alone") << "-" << 1 << 1000 << none;
        QTest::newRow("eleven digits") << "99999999999" << 1 << 1000 << none;
        QTest::newRow("four hundred digits") << QString(400, u'9') << 1 << 1000 << none;
        QTest::newRow("blanks ignored") << " 1 2 " << 1 << 1000 << Typed(12);
        QTest::newRow("leading number") << "5th" << 1 << 1000 << Typed(5);
        QTest::newRow("exponent") << "1e3" << 1 << 1000 << Typed(1000);
        QTest::newRow("no digits") << "inf" << 1 << 1000 << none;
        QTest::newRow("amount 0") << "0" << -1000 << 1000 << Typed(0);
        QTest::newRow("amount -6.5") << "-6.5" << -1000 << 1000 << Typed(-6);
        QTest::newRow("amount -1001") << "-1001" << -1000 << 1000 << none;
    }
    void typedNumbers() {
        QFETCH(QString, text);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(Typed, number);
        QCOMPARE(playlist::TypedWholeNumber(text, min, max), number);
    }

    void winampPositionsAreHeldInRange() {
        for (auto [position, number] : {std::pair<qint64, int>{-1, 1}, {0, 1}, {4, 5}, {999, 1000},
                                        {5000, 1000}, {std::numeric_limits<qint64>::max(), 1000}}) {
            QCOMPARE(playlist::EntryNumberAt(position), number);
        }
    }

    void dialogTakesWhatIsTyped() {
        ScriptedBoxes boxes;
        frmAssoc dialog(link);
        QCOMPARE(dialog.txtItem->text(), QStringLiteral("5"));
        dialog.txtItem->clear();  // resets to Winamp's entry, shown and selected
        QCOMPARE(dialog.txtItem->text(), QStringLiteral("5"));
        QTest::keyClicks(dialog.txtItem, QStringLiteral("7.5"));
        QCOMPARE(dialog.GetValue(), 8);
        dialog.txtItem->setText(QStringLiteral("6.5"));
        QCOMPARE(dialog.GetValue(), 6);
        QTest::keyClick(dialog.txtItem, Qt::Key_Up);
        QCOMPARE(dialog.txtItem->text(), QStringLiteral("7"));
        dialog.txtItem->setText(QStringLiteral("1001"));
        QCOMPARE(dialog.GetValue(), 5);
        dialog.cmdPick_Click();
        QCOMPARE(fifth.posts.last(), winamp::CmdJumpToFile);
        for (int preset : {1500, 0}) {
            dialog.txtItem->setText(QStringLiteral("9"));
            boxes.Answer(MsgResult::OK);
            dialog.SetValue(preset, QStringLiteral("T"), QStringLiteral("/f.cx3"));
            QCOMPARE(dialog.GetValue(), 9);
            QCOMPARE(boxes.Asked().last().Title, QStringLiteral("Playlist Number"));
            QCOMPARE(boxes.Asked().last().Text,
                     QStringLiteral("The playlist track number is invalid for this Winamp playlist."));
        }
        QCOMPARE(boxes.Asked().size(), 2);
    }

    void browseReadsTheTitleAndOkWantsAFile() {
        ScriptedBoxes boxes;
        ScriptedDialogs dialogs;
        const QString song = dir.filePath(QStringLiteral("song.cx3"));
        testsupport::WriteBytes(song, "\"Paper Lanterns - The Quiet Harbour\"\r\n1.5,\"la\"\r\n");
        frmAssoc dialog(link);
        dialogs.ChooseFile(song);
        dialog.cmdBrowse_Click();
        QCOMPARE(dialog.lblTitle->text(), QStringLiteral("Paper Lanterns - The Quiet Harbour"));
        QCOMPARE(dialog.GetFName(), song);
        dialogs.ChooseFile(dir.filePath(QStringLiteral("gone.cx3")));
        dialog.cmdBrowse_Click();
        QVERIFY(dialog.GetFName().isEmpty() && dialog.lblFile->text().isEmpty());
        boxes.Answer(MsgResult::OK);
        dialog.cmdOK_Click();
        QCOMPARE(dialog.ReturnState(), false);
        QCOMPARE(boxes.Asked().size(), 1);
        QCOMPARE(boxes.Asked()[0].Title, QStringLiteral("Edit List"));
        QCOMPARE(boxes.Asked()[0].Text, QStringLiteral("Oops. No data was collected."));
    }

    void encoderCommandsMarkTheirChanges() {
        ScriptedBoxes boxes;
        ScriptedModal modal;
        const auto show = [](QDialog* d) { platform::ShowModal(d, nullptr); };
        playlist::Playlist model;
        modal.Next([](QDialog* d) { static_cast<frmAssoc*>(d)->cmdOK_Click(); });
        QVERIFY(playlist::EncoderAddEntry(model, link, nullptr, show, 0, "T", "/now.cx3"));
        QCOMPARE(model.Table().Entry(0), (PlaylistEntry{"/now.cx3", 5, "T"}));
        QVERIFY(model.PlaylistModified());
        model.SetModified(false);
        modal.Next([](QDialog*) {});  // cancelled
        QVERIFY(!playlist::EncoderAddEntry(model, link, nullptr, show, 1, "T", "/now.cx3"));
        QCOMPARE(model.Table().Count(), 1);
        QVERIFY(!model.PlaylistModified());
        for (const char* file : {"/b.cx3", "/c.cx3"}) {
            modal.Next(Confirm(QString::fromLatin1(file)));
            playlist::EncoderAddEntry(model, link, nullptr, show, 1, {}, {});
        }
        model.Select(2);
        boxes.Answer(MsgResult::Yes);
        QVERIFY(playlist::EncoderRemoveEntry(model, nullptr));
        QCOMPARE(boxes.Asked().last().Text,
                 QStringLiteral("Are you sure you wish to remove this track (Track #3)?"));
        QCOMPARE(model.SelectedEntry(), -1);
        model.SetPath(dir.filePath(QStringLiteral("a.cxp")));
        for (MsgResult answer : {MsgResult::Yes, MsgResult::No, MsgResult::Yes}) {
            boxes.Answer(answer);
            playlist::EncoderRemoveEntry(model, nullptr);
        }
        QVERIFY(model.Table().IsEmpty() && model.PlaylistPath().isEmpty());
        QVERIFY(!model.PlaylistModified());
        QCOMPARE(modal.Unexpected() + boxes.Unexpected(), 0);
    }

    void addOnAFullTableSaysWhy() {
        ScriptedBoxes boxes;
        ScriptedModal modal;
        playlist::PlaylistTable full;
        while (full.Append({QStringLiteral("/x.cx3"), 1, QStringLiteral("x")})) {
        }
        playlist::Playlist model;
        model.Replace(full, QString());
        boxes.Answer(MsgResult::OK);
        QVERIFY(!playlist::EncoderAddEntry(model, link, nullptr,
                                           [](QDialog* d) { platform::ShowModal(d, nullptr); }, 1,
                                           {}, {}));
        QCOMPARE(model.Table().Count(), playlist::PlaylistTable::MaxEntries);
        QCOMPARE(boxes.Asked().size(), 1);
        QCOMPARE(modal.Shown().size(), 0);
    }
};

QTEST_MAIN(tst_entries)
#include "tst_entries.moc"
