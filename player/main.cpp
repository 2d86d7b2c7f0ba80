#include <QApplication>
#include <QTimer>

#include "platform/Product.h"
#include "player/CommandLine.h"
#include "player/frmMain.h"

int main(int argc, char* argv[]) {
    // Help, version and a wrong option are answered before any display is needed.
    const platform::Arguments args = platform::ParseArguments(player::CommandLineHelp, argc, argv);
    if (const std::optional<int> code = platform::AnswerArguments(player::CommandLineHelp, args)) {
        return *code;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(platform::PlayerTitle);
    const bool play = args.Has(QStringLiteral("--play"));
    const QString snapshot = args.Value(QStringLiteral("--snapshot"));

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
    if (!args.Files.isEmpty()) {
        const QString& file = args.Files.first();
        if (args.IsUndecodable(file)) {
            window.ShowLoadFailure(platform::UnusableFileName(file));
        } else if (!window.OpenFile(file)) {
            window.ShowLoadFailure();
        } else if (play) {
            window.cmdPlay_Click();
        }
    }
    if (args.Has(QStringLiteral("--follow"))) {
        window.itmPFollow_Click();
    }
    return QApplication::exec();
}
