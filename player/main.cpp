#include <QApplication>
#include <QFile>
#include <QTimer>
#include <optional>

#include "lyrics/FileName.h"
#include "platform/Product.h"
#include "player/frmMain.h"

// cantorix [--play] [--snapshot PNG] [FILE]
//   FILE        a lyrics file (.cx3, .cx2, .lrc) or a lyrics playlist (.cxp) to open at start
//   --play      press Play once FILE is open
//   --snapshot  save a picture of the window to PNG a few seconds after start, then end
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(platform::PlayerTitle);
    // As the system gives them, what Qt has left: a file name is checked as bytes.
    QList<QByteArray> args(argv + 1, argv + argc);
    const bool play = args.removeAll("--play") > 0;
    QString snapshot;
    if (const qsizetype at = args.indexOf("--snapshot"); at >= 0) {
        snapshot = QFile::decodeName(args.value(at + 1));
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
        const std::optional<QString> file = lyrics::FileNameFromNative(args.first());
        if (!file) {
            window.ShowLoadFailure(lyrics::UnusableFileName(args.first()));
        } else if (!window.OpenFile(*file)) {
            window.ShowLoadFailure();
        } else if (play) {
            window.cmdPlay_Click();
        }
    }
    return QApplication::exec();
}
