#include <QApplication>
#include <QStringList>
#include <QTimer>

#include "platform/Product.h"
#include "player/frmMain.h"

// cantorix [--play] [--snapshot PNG] [FILE]
//   FILE        a lyrics file (.cx3, .cx2, .lrc) or a lyrics playlist (.cxp) to open at start
//   --play      press Play once FILE is open
//   --snapshot  save a picture of the window to PNG a few seconds after start, then end
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(platform::PlayerTitle);
    QStringList args = QApplication::arguments().mid(1);
    const bool play = args.removeAll(QStringLiteral("--play")) > 0;
    QString snapshot;
    if (const qsizetype at = args.indexOf(QStringLiteral("--snapshot")); at >= 0) {
        snapshot = args.value(at + 1);
        args.remove(at, std::min<qsizetype>(2, args.size() - at));
    }

    player::frmMain window;
    window.Form_Load();
    window.show();
    // Set before FILE opens, so the picture is taken while a box says FILE cannot be read.
    if (!snapshot.isEmpty()) {
        QTimer::singleShot(3000, &window, [&window, snapshot] {
            const int code = window.grab().save(snapshot) ? 0 : 1;
            QApplication::exit(code);
            // An open box ends only its own loop; this ends the main loop after it.
            QMetaObject::invokeMethod(
                qApp, [code] { QApplication::exit(code); }, Qt::QueuedConnection);
        });
    }
    if (!args.isEmpty()) {
        if (!window.OpenFile(args.first())) {
            window.ShowLoadFailure();
        } else if (play) {
            window.cmdPlay_Click();
        }
    }
    return QApplication::exec();
}
