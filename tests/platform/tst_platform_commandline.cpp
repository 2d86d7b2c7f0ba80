// The programs' command lines: options, help, version, Qt's options left for Qt.
#include <QTest>

#include "platform/CommandLine.h"

using namespace platform;

namespace {

ProgramHelp Sample(bool windowSystem) {
    ProgramHelp help;
    help.Program = "prog";
    help.Options = {{"--play", {}, "play"}, {"--snapshot", "PNG", "save a picture"}};
    help.MaxFiles = 1;
    help.WindowSystemOptions = windowSystem;
    return help;
}

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

  private slots:
    // The row's name is the command line: run with options | files | what goes on
    // to Qt, help, version, or the error.
    void parse_data() {
        QTest::addColumn<bool>("windowSystem");
        QTest::addColumn<QString>("parsed");
        // clang-format off
        QTest::newRow(" ")                           << true << "run  |  | ";
        QTest::newRow("--play --snapshot a.png f")   << true << "run --play=,--snapshot=a.png | f | ";
        QTest::newRow("--snapshot=a=b.png")          << true << "run --snapshot=a=b.png |  | ";
        QTest::newRow("-- -f.cx3")                   << true << "run  | -f.cx3 | ";
        QTest::newRow("-")                           << true << "run  | - | ";
        QTest::newRow("-platform xcb -style=fusion -reverse f -display :1")
                                                     << true << "run  | f | -platform,xcb,-style=fusion,-reverse,-display,:1";
        QTest::newRow("-style fusion")               << false << "error: unknown option -style";
        QTest::newRow("-platform")                   << true << "error: -platform needs a value";
        QTest::newRow("--platform xcb")              << true << "error: unknown option --platform";
        QTest::newRow("--bogus=1 --help")            << true << "error: unknown option --bogus";
        QTest::newRow("--snapshot= f")               << true << "error: --snapshot needs PNG";
        QTest::newRow("--play=yes")                  << true << "error: --play takes no value";
        QTest::newRow("--play --play")               << true << "error: --play given twice";
        QTest::newRow("a b --help")                  << true << "help";
        QTest::newRow("f --version -x")              << true << "version";
        // clang-format on
    }
    void parse() {
        QFETCH(bool, windowSystem);
        const QStringList args = QString(QTest::currentDataTag()).split(' ', Qt::SkipEmptyParts);
        const Arguments parsed = ParseArguments(Sample(windowSystem), args);
        QStringList given, passedOn;
        for (auto it = parsed.Given.begin(); it != parsed.Given.end(); ++it) {
            given << it.key() + '=' + it.value();
        }
        for (const qsizetype i : parsed.PassedOn) {
            passedOn << args[i];
        }
        const QString got[] = {
            "run " + given.join(',') + " | " + parsed.Files.join(',') + " | " + passedOn.join(','),
            "help", "version", "error: " + parsed.Error};
        QTEST(got[int(parsed.Answer)], "parsed");
    }

    // Qt's options stay in argv, in order, null-ended; an argument not in UTF-8
    // is known for one.
    void argvKeepsWhatQtReads() {
        char a[] = "prog", b[] = "-platform", c[] = "xcb", d[] = "--snapshot", e[] = "s.png",
             f[] = "caf\xE9.cx3", g[] = "-reverse";
        char* argv[] = {a, d, e, b, c, f, g, nullptr};
        int argc = 7;
        const Arguments parsed = ParseArguments(Sample(true), argc, argv);
        QCOMPARE(parsed.Value("--snapshot"), "s.png");
        QCOMPARE(parsed.Files, QStringList{"caf\uFFFD.cx3"});
        QCOMPARE(parsed.Undecodable, parsed.Files);
        QCOMPARE(argc, 4);
        QCOMPARE(QList<QByteArray>({argv[0], argv[1], argv[2], argv[3]}),
                 (QList<QByteArray>{a, b, c, g}));
        QCOMPARE(argv[4], nullptr);
    }
};

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_platform_commandline.moc"
