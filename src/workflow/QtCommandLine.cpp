#include "workflow/QtCommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace didad {

namespace {

QStringList ArgumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The options that QGuiApplication and QApplication read from the command
// line themselves; taken here only so that they are not refused.
void AcceptToolkitOptions(QCommandLineParser& parser) {
    const char* const withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                     "qwindowgeometry", "qwindowicon", "qwindowtitle", "display",
                                     "style", "stylesheet", "session"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    const char* const flags[] = {"reverse", "nograb", "dograb", "sync", "widgetcount"};
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

CommandLineRequest EndWith(int exitCode) { return {false, exitCode, {}}; }

CommandLineRequest Mistake(const QString& program, const QString& what) {
    Print(stderr, program + QStringLiteral(": ") + what + QStringLiteral("\nTry '") + program +
                      QStringLiteral(" --help' for more information.\n"));
    return EndWith(1);
}

} // namespace

CommandLineRequest ReadCommandLine(int argc, char** argv) {
    const QStringList arguments = ArgumentList(argc, argv);
    const QString program = QStringLiteral("didad");

    QCommandLineParser parser;
    // Qt's options are written with one dash (-platform offscreen).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Builds sliding menus for web pages, with a live preview."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("The menu project to open, as Open Project would."),
                                 QStringLiteral("[folder]"));
    AcceptToolkitOptions(parser);

    if (!parser.parse(arguments)) return Mistake(program, parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // Without the application object the usage line cannot name the program.
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), program);
        Print(stdout, text);
        return EndWith(0);
    }
    if (parser.isSet(version)) {
        Print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                          QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        return EndWith(0);
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) return Mistake(program, QStringLiteral("Only one project folder can be opened."));
    return {true, 0, folders.value(0)};
}

} // namespace didad
