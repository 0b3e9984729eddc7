#include "app/QtCommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>

#include "runtime/PageTexts.h"

namespace didad {

namespace {

QStringList ArgumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The options that QGuiApplication and QApplication read from the command
// line themselves; taken here only so that they are not refused. Returns
// their names for --help-all.
QStringList AcceptToolkitOptions(QCommandLineParser& parser) {
    const char* const withValue[] = {"platform",        "platformpluginpath", "platformtheme", "plugin",
                                     "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "display",
                                     "style",           "stylesheet",         "session"};
    const char* const flags[] = {"reverse", "nograb", "dograb", "sync", "widgetcount"};
    QStringList names;
    auto accept = [&](const char* name, const QString& valueName) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), valueName);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
        names << QLatin1Char('-') + QString::fromLatin1(name) +
                     (valueName.isEmpty() ? QString() : QLatin1Char(' ') + valueName);
    };
    for (const char* name : withValue) accept(name, QStringLiteral("value"));
    for (const char* name : flags) accept(name, QString());
    return names;
}

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

QString HelpText(const QCommandLineParser& parser, const QString& program, const QStringList& toolkitOptions) {
    // Without the application object the usage line cannot name the program.
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), program);
    if (!toolkitOptions.isEmpty())
        text += QStringLiteral("\nQt options:\n  ") + toolkitOptions.join(QStringLiteral("\n  ")) + QLatin1Char('\n');
    return text;
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
    parser.setApplicationDescription(QStringLiteral("Builds sliding menus for web pages, with a live preview."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("The menu project to open, as Open Project would."),
                                 QStringLiteral("[folder]"));
    const QStringList toolkitOptions = AcceptToolkitOptions(parser);

    if (!parser.parse(arguments)) return Mistake(program, parser.errorText());
    const bool helpAll = parser.isSet(QStringLiteral("help-all"));
    if (parser.isSet(help) || helpAll) {
        Print(stdout, HelpText(parser, program, helpAll ? toolkitOptions : QStringList()));
        return EndWith(0);
    }
    if (parser.isSet(version)) {
        Print(stdout, QString::fromLocal8Bit(ProductNameAndVersion()) + QLatin1Char('\n'));
        return EndWith(0);
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) return Mistake(program, QStringLiteral("Only one project folder can be opened."));
    return {true, 0, folders.value(0)};
}

} // namespace didad
