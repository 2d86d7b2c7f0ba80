#include <QApplication>
#include <QStringList>

#include "player/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cantorix 3"));
    QStringList args = QApplication::arguments().mid(1);
    const bool play = args.removeAll(QStringLiteral("--play")) > 0;

    player::frmMain window;
    window.Form_Load();
    window.show();
    if (!args.isEmpty() && window.OpenFile(args.first()) && play) {
        window.cmdPlay_Click();
    }
    return QApplication::exec();
}
