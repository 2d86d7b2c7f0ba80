#include "platform/CommandLine.h"

#include <algorithm>
#include <cstdio>

namespace platform {

namespace {

// Qt's options of the window system, given with one dash as Qt documents them.
const QStringList WindowSystemValues =
    QStringLiteral(
        "platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon "
        "qwindowtitle session display geometry name title visual style stylesheet")
        .split(QLatin1Char(' '));
const QStringList WindowSystemSwitches =
    QStringLiteral("reverse widgetcount nograb dograb sync").split(QLatin1Char(' '));

constexpr qsizetype Width = 79;
constexpr qsizetype MaxOptionColumn = 26;

const ProgramOption HelpOption{
    QStringLiteral("-h, --help"), {}, QStringLiteral("show this help and end")};
const ProgramOption VersionOption{
    QStringLiteral("    --version"), {}, QStringLiteral("show the version and end")};

// The words of text on lines of at most width columns.
QStringList Wrap(const QString& text, qsizetype width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty()) {
        lines << line;
    }
    return lines;
}

// The paragraphs of text (one per line of it), wrapped, each line after indent, a blank line
// between them.
QString Paragraphs(const QString& text, qsizetype indent) {
    QStringList paragraphs;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString out;
        for (const QString& line : Wrap(paragraph, Width - indent)) {
            out += QString(indent, QLatin1Char(' ')) + line + QLatin1Char('\n');
        }
        paragraphs << out;
    }
    return paragraphs.join(QLatin1Char('\n'));
}

QString OptionLabel(const ProgramOption& option) {
    return option.Value.isEmpty() ? option.Name : option.Name + QLatin1Char(' ') + option.Value;
}

QString UsageLines(const ProgramHelp& help) {
    QString out;
    for (qsizetype i = 0; i < help.Usage.size(); ++i) {
        out += (i == 0 ? QStringLiteral("Usage: ") : QStringLiteral("  or:  ")) + help.Program +
               QLatin1Char(' ') + help.Usage[i] + QLatin1Char('\n');
    }
    return out;
}

}  // namespace

void Arguments::Reject(const QString& why) {
    if (Answer == Ask::Run) {
        Answer = Ask::Error;
        Error = why;
    }
}

Arguments ParseArguments(const ProgramHelp& help, const QStringList& args) {
    Arguments parsed;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size() && parsed.Answer == Arguments::Ask::Run; ++i) {
        const QString& arg = args[i];
        const QString name = arg.section(QLatin1Char('='), 0, 0);
        const bool valueInline = arg.contains(QLatin1Char('='));
        if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            parsed.Files << arg;
        } else if (arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            parsed.Answer = Arguments::Ask::Help;
        } else if (arg == QLatin1String("--version")) {
            parsed.Answer = Arguments::Ask::Version;
        } else if (!arg.startsWith(QLatin1String("--"))) {
            // Qt reads "-style fusion" and "-style=fusion" alike.
            const bool takesValue = WindowSystemValues.contains(name.mid(1));
            if (!help.WindowSystemOptions ||
                !(takesValue || WindowSystemSwitches.contains(name.mid(1)))) {
                parsed.Reject(QStringLiteral("unknown option %1").arg(name));
            } else if (takesValue && !valueInline && i + 1 >= args.size()) {
                parsed.Reject(QStringLiteral("%1 needs a value").arg(name));
            } else {
                parsed.PassedOn << i;
                if (takesValue && !valueInline) {
                    parsed.PassedOn << ++i;
                }
            }
        } else {
            const auto option =
                std::find_if(help.Options.begin(), help.Options.end(),
                             [&name](const ProgramOption& o) { return o.Name == name; });
            if (option == help.Options.end()) {
                parsed.Reject(QStringLiteral("unknown option %1").arg(name));
            } else if (parsed.Has(name)) {
                parsed.Reject(QStringLiteral("%1 given twice").arg(name));
            } else if (option->Value.isEmpty()) {
                if (valueInline) {
                    parsed.Reject(QStringLiteral("%1 takes no value").arg(name));
                }
                parsed.Given.insert(name, QString());
            } else {
                const QString value = valueInline ? arg.section(QLatin1Char('='), 1)
                                                  : (i + 1 < args.size() ? args[++i] : QString());
                if (value.isEmpty()) {
                    parsed.Reject(QStringLiteral("%1 needs %2").arg(name, option->Value));
                }
                parsed.Given.insert(name, value);
            }
        }
    }
    if (parsed.Files.size() > help.MaxFiles) {
        parsed.Reject(QStringLiteral("unexpected argument %1").arg(parsed.Files[help.MaxFiles]));
    }
    return parsed;
}

Arguments ParseArguments(const ProgramHelp& help, int& argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    Arguments parsed = ParseArguments(help, args);
    argc = 1;
    for (const qsizetype i : parsed.PassedOn) {
        argv[argc++] = argv[i + 1];
    }
    argv[argc] = nullptr;
    return parsed;
}

QString HelpText(const ProgramHelp& help) {
    QList<ProgramOption> options = help.Options;
    options << HelpOption << VersionOption;
    qsizetype column = 0;
    for (const ProgramOption& option : options) {
        column = std::max(column, OptionLabel(option).size());
    }
    column = std::min(column + 4, MaxOptionColumn);

    QString out =
        UsageLines(help) + Paragraphs(help.Description, 0) + QStringLiteral("\nOptions:\n");
    const QString indent(column, QLatin1Char(' '));
    for (const ProgramOption& option : options) {
        // A label too wide for the column has a line of its own.
        const QString label = QStringLiteral("  ") + OptionLabel(option);
        out += label.size() + 2 > column ? label + QLatin1Char('\n') + indent
                                         : label.leftJustified(column);
        out +=
            Wrap(option.Help, Width - column).join(QLatin1Char('\n') + indent) + QLatin1Char('\n');
    }
    if (help.WindowSystemOptions) {
        out += QLatin1Char('\n') +
               Paragraphs(QStringLiteral("Qt's options of the window system (-platform NAME, "
                                         "-display DISPLAY, -style NAME, -reverse, ...) go to Qt."),
                          0);
    }
    // "Examples:" and "$ " are what help2man makes a manual page's example of.
    return out + QStringLiteral("\nExamples:\n  $ ") + help.Program + QLatin1Char(' ') +
           help.Example + QLatin1Char('\n') + Paragraphs(help.ExampleNote, 2);
}

QString VersionText(const ProgramHelp& help) {
    const QString version =
        help.Version.isEmpty() ? QStringLiteral(CANTORIX_VERSION) : help.Version;
    return help.Program + QLatin1Char(' ') + version +
           QStringLiteral(
               "\n"
               "Copyright (C) 2026 The Cantorix developers\n"
               "License GPLv3+: GNU GPL version 3 or later "
               "<https://gnu.org/licenses/gpl.html>.\n"
               "This is free software: you are free to change and "
               "redistribute it.\n"
               "There is NO WARRANTY, to the extent permitted by law.\n");
}

int PrintHelp(const ProgramHelp& help) {
    std::fputs(qPrintable(HelpText(help)), stdout);
    return 0;
}

int PrintVersion(const ProgramHelp& help) {
    std::fputs(qPrintable(VersionText(help)), stdout);
    return 0;
}

int PrintUsageError(const ProgramHelp& help, const QString& error) {
    std::fputs(
        qPrintable(help.Program + QStringLiteral(": ") + error + QLatin1Char('\n') +
                   UsageLines(help) +
                   QStringLiteral("Try '%1 --help' for more information.\n").arg(help.Program)),
        stderr);
    return 2;
}

std::optional<int> AnswerArguments(const ProgramHelp& help, const Arguments& arguments) {
    switch (arguments.Answer) {
        case Arguments::Ask::Help:
            return PrintHelp(help);
        case Arguments::Ask::Version:
            return PrintVersion(help);
        case Arguments::Ask::Error:
            return PrintUsageError(help, arguments.Error);
        case Arguments::Ask::Run:
            break;
    }
    return std::nullopt;
}

}  // namespace platform
