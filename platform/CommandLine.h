#pragma once
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// One option of a program's own: a switch ("--play") or one that takes a value
// ("--snapshot PNG", also written "--snapshot=PNG").
struct ProgramOption {
    QString Name;
    QString Value;  // what the value is called in the help; empty for a switch
    QString Help;
};

// What a program's --help says, and so what its command line accepts. Every program also
// takes -h/--help and --version.
struct ProgramHelp {
    QString Program;      // the name typed in a shell
    QString Version{};    // empty: the version of the package
    QStringList Usage;    // what follows the name, one way of calling it per line
    QString Description;  // what the program does
    QList<ProgramOption> Options;
    QString Example;      // one command line
    QString ExampleNote;  // what it does
    int MaxFiles = 0;     // arguments that are no option
    // Qt's own options of the window system (-platform NAME, -style NAME, -reverse, ...) are
    // left in argv for the application object.
    bool WindowSystemOptions = false;
};

// What a command line asks for.
struct Arguments {
    enum class Ask { Run, Help, Version, Error };
    Ask Answer = Ask::Run;
    QString Error;                 // why the arguments cannot be used, when Answer is Error
    QMap<QString, QString> Given;  // the options given, with their values ("" for a switch)
    QStringList Files;             // the arguments that are no option, in order
    QList<qsizetype> PassedOn;     // where Qt's window-system options and their values stand

    bool Has(const QString& option) const { return Given.contains(option); }
    QString Value(const QString& option) const { return Given.value(option); }
    // A program's own rule over the options is broken; a help or version asked stays asked.
    void Reject(const QString& why);
};

// args without the program name.
Arguments ParseArguments(const ProgramHelp& help, const QStringList& args);

// The same over main's argv, before the application object exists: what is left in argv is
// the program name and the window-system options, for Qt.
Arguments ParseArguments(const ProgramHelp& help, int& argc, char** argv);

QString HelpText(const ProgramHelp& help);
QString VersionText(const ProgramHelp& help);

// The help or the version on standard output (exit code 0); a command line that cannot be
// used, with the usage, on standard error (exit code 2).
int PrintHelp(const ProgramHelp& help);
int PrintVersion(const ProgramHelp& help);
int PrintUsageError(const ProgramHelp& help, const QString& error);

// Answers help, version and errors as above; nullopt when the program is to run.
std::optional<int> AnswerArguments(const ProgramHelp& help, const Arguments& arguments);

}  // namespace platform
