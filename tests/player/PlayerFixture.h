#pragma once
// The player's window against a simulated Winamp in this process, with scripted message
// boxes and file dialogs; every test ends by checking that nothing unexpected was asked.
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "SimWinamp.h"
#include "player/frmMain.h"
#include "support/Files.h"
#include "support/Scripted.h"
#include "winamp/modOne.h"

class PlayerFixture {
  protected:
    QTemporaryDir dir;
    std::unique_ptr<SimWinamp> sim;
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    std::unique_ptr<player::frmMain> w;

    // Winamp and the scripted answers, without the window.
    void Prepare(int tracks = 3, int lengthS = 200) {
        winamp::WinampHandle = 0;
        sim = std::make_unique<SimWinamp>(tracks, lengthS);
        boxes = std::make_unique<testsupport::ScriptedBoxes>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
    }
    // The window, loaded as at program start.
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
};
