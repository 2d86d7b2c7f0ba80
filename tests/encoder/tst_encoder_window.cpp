// The encoder's window against a simulated Winamp on a manual clock: a song taken up as
// the command line does, timed through the buttons, the file it leaves, the boxes asked
// and what Winamp was told.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "encoder/frmAbout.h"
#include "encoder/frmMain.h"
#include "platform/Folders.h"
#include "playlist/PlaylistList.h"
#include "support/Files.h"
#include "support/Scripted.h"
#include "support/SimWinamp.h"
#include "winamp/WinampMenu.h"

using platform::MsgResult;

class tst_EncoderWindow : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<SimWinamp> sim;
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedModal> modal;
    std::unique_ptr<encoder::frmMain> w;
    const QString save = dir.filePath("song.cx3");

    QString Source(const QByteArray& text) {
        const QString path = dir.filePath("source.txt");
        testsupport::WriteBytes(path, text);
        return path;
    }
    // A song of three lines taken up and started.
    void StartThreeLines(const QByteArray& lineEnd = "\r\n") {
        QVERIFY(w->TakeUpSong(Source(QByteArray("Oh my\r\n\r\n   \r\nthe \"tide\"\r\n  goes out  ")
                                         .replace("\r\n", lineEnd)),
                              save, "Song - \"Band\""));
        sim->Clear();
        w->cmdPlay_Click();
    }
    // Next Line at each position of the song (Start plays it from 0).
    void Press(const QList<qint64>& positions) {
        const qint64 started = sim->clock.NowMs() - sim->model.PositionMs();
        for (qint64 ms : positions) {
            sim->clock.Set(started + ms);
            w->cmdNext_Click();
        }
    }
    QStringList BoxTexts() const {
        QStringList texts;
        for (const platform::MsgBoxCall& call : boxes->Asked()) {
            texts << call.Title + ": " + call.Text;
        }
        return texts;
    }

  private slots:
    void init() {
        QFile::remove(platform::SettingsFilePath());
        QFile::remove(save);
        sim = std::make_unique<SimWinamp>(3, 200);
        boxes = std::make_unique<testsupport::ScriptedBoxes>();
        modal = std::make_unique<testsupport::ScriptedModal>();
        w = std::make_unique<encoder::frmMain>();
        w->Form_Load();
    }
    void cleanup() {
        const int unexpected = boxes->Unexpected() + modal->Unexpected();
        w.reset();
        modal.reset();
        boxes.reset();
        sim.reset();
        QCOMPARE(unexpected, 0);
    }

    void threePressesTimeTheSong_data() {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR") << QByteArray("\r");
    }
    void threePressesTimeTheSong() {
        QFETCH(QByteArray, lineEnd);
        QVERIFY(!w->cmdPlay->isEnabled() && !w->mnuFile->isEnabled());
        StartThreeLines(lineEnd);
        QCOMPARE(w->windowTitle(), "Song - Band - Cantorix 3 Encoder");
        QCOMPARE(w->lstFile->count(), 3);
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(winamp::CmdPlay)});
        QCOMPARE(w->lblCurrLine->text(), "Oh my");
        QCOMPARE(w->lblNextLine->text(), "the tide");
        // While the song is timed, neither the wizard nor the source edit can be reached.
        QCOMPARE(w->OuterHeight, 2650);
        QVERIFY(!w->itmFWizard->isEnabled() && !w->itmFREdit->isEnabled());
        QVERIFY(!w->cmdOpen->isEnabled() && !w->cmdPlay->isEnabled() && !w->mnuFile->isEnabled());
        boxes->Answer(MsgResult::OK);
        Press({83456, 90000});
        QCOMPARE(w->lblCurrLine->text(), "goes out");
        QCOMPARE(w->lblNextLine->text(), "[end of file...]");
        Press({95500});
        QCOMPARE(sim->Posts(), (QStringList{SimWinamp::Command(winamp::CmdPlay),
                                            SimWinamp::Command(winamp::CmdStop)}));
        QCOMPARE(BoxTexts(), QStringList{"@ Wizard: Encoding was successfully completed!"});
        QCOMPARE(testsupport::ReadBytes(save),
                 "\"Song - Band\"\r\n83.456,\"Oh my\"\r\n90,\"the tide\"\r\n95.5,\"goes out\"\r\n");
        QCOMPARE(w->OuterHeight, 5655);
        QVERIFY(w->cmdPlay->isEnabled() && w->itmFWizard->isEnabled() && w->itmFREdit->isEnabled());
        QVERIFY(w->itmLAdd[0]->isEnabled() && !w->cmdNext->isEnabled());
    }

    void stopBeforeTheEnd_data() {
        QTest::addColumn<int>("presses");
        QTest::addColumn<QList<MsgResult>>("answers");  // to the question, then the final box
        QTest::addColumn<QByteArray>("file");
        const QByteArray title = "\"Song - Band\"\r\n";
        QTest::newRow("last line showing: no question")
            << 2 << QList<MsgResult>{MsgResult::OK}
            << title + "1,\"Oh my\"\r\n2,\"the tide\"\r\n,\"goes out\"\r\n";
        QTest::newRow("one line, Yes") << 1 << QList<MsgResult>{MsgResult::Yes, MsgResult::OK}
                                       << title + "1,\"Oh my\"\r\n,\"the tide\"\r\n,\"goes out\"\r\n";
        QTest::newRow("one line, No") << 1 << QList<MsgResult>{MsgResult::No} << QByteArray();
        QTest::newRow("no line, No") << 0 << QList<MsgResult>{MsgResult::No} << QByteArray();
    }
    void stopBeforeTheEnd() {
        QFETCH(int, presses);
        QFETCH(QList<MsgResult>, answers);
        QFETCH(QByteArray, file);
        StartThreeLines();
        Press(QList<qint64>{1000, 2000}.mid(0, presses));
        for (MsgResult answer : answers) {
            boxes->Answer(answer);
        }
        w->cmdStop_Click();
        QCOMPARE(sim->Posts().last(), SimWinamp::Command(winamp::CmdStop));
        QCOMPARE(boxes->Asked().size(), answers.size());
        QCOMPARE(boxes->Asked()[0].Text.startsWith("The end of the song was not reached."),
                 presses < 2);
        QCOMPARE(QFile::exists(save), !file.isEmpty());
        if (!file.isEmpty()) {
            QCOMPARE(testsupport::ReadBytes(save), file);
        }
        QVERIFY(w->cmdPlay->isEnabled() && !w->cmdStop->isEnabled());
    }

    void nothingToTimeOrNoWinamp() {
        QVERIFY(w->TakeUpSong(Source(" \r\n\"\"\r\n"), save, "Song - Band"));
        QCOMPARE(w->lblNextLine->text(), "[end of file...]");
        sim->Clear();
        w->cmdPlay_Click();
        QVERIFY(sim->Posts().isEmpty() && w->cmdPlay->isEnabled());
        sim.reset();
        QVERIFY(w->TakeUpSong(Source("line"), save, "Song - Band"));
        boxes->Answer(MsgResult::OK);
        w->cmdPlay_Click();
        QCOMPARE(BoxTexts(), QStringList{"Winamp Handle: Winamp is not running.\rYou may want to "
                                         "start it, and press F3 to try again."});
        QVERIFY(w->cmdPlay->isEnabled() && !w->cmdNext->isEnabled());
    }

    void aFailedLoadChangesNothing() {
        QVERIFY(w->TakeUpSong(Source("one\ntwo"), save, "Song - Band"));
        for (const QString& path : {dir.filePath("missing.txt"), dir.path()}) {
            boxes->Answer(MsgResult::OK);
            QVERIFY(!w->TakeUpSong(path, save, "Other"));
            QCOMPARE(boxes->Asked().last().Text, "Ouch. The @ Wizard lost it... Please retry.");
            QVERIFY(w->SourcePath.isEmpty() && w->SavePath.isEmpty());
            QCOMPARE(w->lstFile->count(), 2);
            QCOMPARE(w->Lines.LastSourceLine, qint16(1));
            QCOMPARE(w->Lines.SourceLines[2].Text, "[end of file...]");
        }
        // With no lyrics file to write to, Stop says so and keeps the stamps.
        sim->Clear();
        w->cmdPlay_Click();
        boxes->Answer(MsgResult::OK);
        Press({1000, 2000});
        QCOMPARE(boxes->Asked().last().Text, "Ouch. The @ Wizard lost it... Please retry.");
        QCOMPARE(w->Lines.SourceLines[1].Seconds, std::optional<double>(2));
    }

    void closingDialogue_data() {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QList<MsgResult>>("answers");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("winampClosed");
        QTest::newRow("unchanged, keep Winamp") << false << QList<MsgResult>{MsgResult::No} << true << false;
        QTest::newRow("No, close Winamp")
            << true << QList<MsgResult>{MsgResult::No, MsgResult::Yes} << true << true;
        QTest::newRow("Cancel at the first") << true << QList<MsgResult>{MsgResult::Cancel} << false << false;
        QTest::newRow("Cancel at the second")
            << true << QList<MsgResult>{MsgResult::No, MsgResult::Cancel} << false << false;
    }
    void closingDialogue() {
        QFETCH(bool, modified);
        QFETCH(QList<MsgResult>, answers);
        QFETCH(bool, closed);
        QFETCH(bool, winampClosed);
        w->Playlist.SetModified(modified);
        for (MsgResult answer : answers) {
            boxes->Answer(answer);
        }
        w->show();
        sim->Clear();
        QCOMPARE(w->close(), closed);
        QCOMPARE(boxes->Asked().size(), answers.size());
        QCOMPARE(boxes->Asked().last().Text, answers.size() == 1 && modified
                                                 ? "Would you like to save the changes you made "
                                                   "to the playlist?\r"
                                                 : "Would you like to close Winamp as well?");
        QCOMPARE(sim->Posts().contains(SimWinamp::Command(winamp::CmdClose)), winampClosed);
    }

    void winampCloseYesEndsWithoutQuestions() {
        w->Playlist.SetModified(true);
        w->show();
        boxes->Answer(MsgResult::Yes);
        w->winampMenu->itmWClose->trigger();
        QCOMPARE(BoxTexts(), QStringList{"Close Cantorix?: Would you like to close Cantorix 3 as well?"});
        QVERIFY(!w->isVisible());
    }

    void viewsColoursAndTheAboutBox() {
        w->lbl_Click(1);
        QVERIFY(w->lstList->isVisibleTo(w.get()) && !w->lstFile->isVisibleTo(w.get()));
        QVERIFY(w->mnuList->menuAction()->isVisible() && !w->mnuF->menuAction()->isVisible());
        QVERIFY(w->lbl[1]->font().bold() && !w->lbl[0]->font().bold());
        w->lbl_Click(0);
        QVERIFY(!w->mnuList->menuAction()->isVisible() && w->lbl[0]->font().bold());

        testsupport::WriteBytes(platform::SettingsFilePath(), "255,0,65280\r\n");
        encoder::frmMain coloured;
        coloured.Form_Load();
        QCOMPARE(coloured.centralWidget()->palette().color(QPalette::Window), QColor(Qt::red));
        QCOMPARE(coloured.lblCurrLine->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(coloured.lblNextLine->palette().color(QPalette::WindowText), QColor(0, 255, 0));

        // On top, the window lets go of the top for as long as a dialog is open.
        w->itmCOnTop->trigger();
        bool onTopDuringTheBox = true;
        modal->Next([&](QDialog* dialog) {
            onTopDuringTheBox = w->OnTop;
            QCOMPARE(dialog->windowTitle(), "About Cantorix 3 Encoder");
            QVERIFY(static_cast<encoder::frmAbout*>(dialog)->lbl->text().startsWith("Version 1.1.2\n\n"));
        });
        w->itmCAbout->trigger();
        QVERIFY(!onTopDuringTheBox && w->OnTop && w->itmCOnTop->isChecked());
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
};

QTEST_MAIN(tst_EncoderWindow)
#include "tst_encoder_window.moc"
