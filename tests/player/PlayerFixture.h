#pragma once
// The player's window against a simulated Winamp in this process, with scripted message
// boxes and file dialogs; every test ends by checking that nothing unexpected was asked.
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "support/SimWinamp.h"
#include "player/frmMain.h"
#include "support/Files.h"
#include "support/Scripted.h"

class PlayerFixture {
  protected:
    QTemporaryDir dir;
    std::unique_ptr<SimWinamp> sim;
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    std::unique_ptr<player::frmMain> w;

    // Winamp and the scripted answers, then the window loaded as at program start.
    void Prepare(int tracks = 3, int lengthS = 200) {
        sim = std::make_unique<SimWinamp>(tracks, lengthS);
        boxes = std::make_unique<testsupport::ScriptedBoxes>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
        Start();
    }
    // Also a restart: a new window that reads the settings the last one wrote.
    void Start() {
        w = std::make_unique<player::frmMain>();
        w->Form_Load();
    }
    void Finish() {
        QCOMPARE(boxes->Unexpected(), 0);
        QCOMPARE(dialogs->Unexpected(), 0);
        w.reset();
        dialogs.reset();
        boxes.reset();
        sim.reset();
    }

    // A file in the test's folder.
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        testsupport::WriteBytes(path, bytes);
        return path;
    }
    // A lyrics file of three lines at 1, 2 and 3 seconds.
    QString Song(const QString& name, const QString& title) {
        return Write(name, QStringLiteral("\"%1\"\r\n1,\"first of %1\"\r\n2,\"second of %1\"\r\n"
                                          "3,\"last of %1\"\r\n")
                               .arg(title)
                               .toUtf8());
    }
    // Opens a file through the Open button, as a user would.
    void Open(const QString& path) {
        dialogs->ChooseFile(path);
        w->cmdOpen_Click();
    }
    bool MenusHidden() const { return w->menuBar()->isHidden(); }
};
