#pragma once
// A simulated Winamp inside the test process, on a manual clock, logging what it received.
#include <QList>
#include <memory>

#include "platform/LocalWindow.h"
#include "winamp-sim/M3u.h"
#include "winamp-sim/Winamp.h"
#include "winamp/ManualClock.h"
#include "winamp/Messages.h"

struct SimWinamp {
    winamp::ManualClock clock;
    winampsim::Winamp model;
    std::unique_ptr<platform::LocalWindow> window;

    SimWinamp(int tracks, int lengthS) : model(clock, winampsim::GenerateTracks(tracks, lengthS)) {
        model.KeepLog(true);
        window = std::make_unique<platform::LocalWindow>(
            QString::fromLatin1(winamp::WindowClass),
            [this](const platform::Message& m) { return model.Handle(m); },
            platform::LocalWindow::Scope::Process);
    }

    // What was posted, as "msg:wParam:lParam"; queries left out.
    QStringList Posts() const {
        QStringList out;
        for (const winampsim::Received& r : model.Log()) {
            if (r.Message.Posted) {
                out << QString::number(r.Message.Msg) + ':' + QString::number(r.Message.WParam) +
                           ':' + QString::number(r.Message.LParam);
            }
        }
        return out;
    }
    static QString Command(platform::WPARAM w) { return QStringLiteral("273:%1:0").arg(w); }
    void Clear() { model.ClearLog(); }
};
