#include "app/cli/clioptions.h"

#include "tasks/timevalues.h"

#include <QCommandLineParser>

namespace {
std::optional<QString> ValueOf(const QCommandLineParser &parser, const QString &name)
{
    if (!parser.isSet(name))
        return std::nullopt;
    return parser.value(name);  // the last one given
}

void CheckTime(const std::optional<QString> &text, const char *option)
{
    if (text && TimeToSeconds(*text) == -1)
        throw CliUsageError(QStringLiteral("%1 \"%2\" is not a time (hh:mm:ss or hh:mm:ss.t).")
                                .arg(QLatin1String(option), *text));
}
}  // namespace

CliOptions ParseCliOptions(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QString valueName = QStringLiteral("value");
    parser.addOptions({
        {{QStringLiteral("h"), QStringLiteral("help")}, QString()},
        {QStringLiteral("version"), QString()},
        {QStringLiteral("list-profiles"), QString()},
        {QStringLiteral("dry-run"), QString()},
        {QStringLiteral("rename"), QString()},
        {QStringLiteral("overwrite"), QString()},
        {QStringLiteral("profile"), QString(), valueName},
        {QStringLiteral("output"), QString(), valueName},
        {QStringLiteral("set"), QString(), valueName},
        {QStringLiteral("start"), QString(), valueName},
        {QStringLiteral("end"), QString(), valueName},
    });
    // The parser wants the program name first.
    if (!parser.parse(QStringList{QStringLiteral("orvelle-cli")} + args))
        throw CliUsageError(parser.errorText());

    CliOptions o;
    o.help = parser.isSet(QStringLiteral("help"));
    o.version = parser.isSet(QStringLiteral("version"));
    o.listProfiles = parser.isSet(QStringLiteral("list-profiles"));
    o.dryRun = parser.isSet(QStringLiteral("dry-run"));
    o.profile = ValueOf(parser, QStringLiteral("profile"));
    o.output = ValueOf(parser, QStringLiteral("output"));
    o.settings = parser.values(QStringLiteral("set"));
    o.start = ValueOf(parser, QStringLiteral("start"));
    o.end = ValueOf(parser, QStringLiteral("end"));
    const bool rename = parser.isSet(QStringLiteral("rename"));
    const bool overwrite = parser.isSet(QStringLiteral("overwrite"));
    if (rename && overwrite)
        throw CliUsageError(QStringLiteral("--rename and --overwrite exclude each other."));
    if (rename || overwrite)
        o.rename = rename;
    o.paths = parser.positionalArguments();
    if (o.help || o.version)
        return o;
    CheckTime(o.start, "--start");
    CheckTime(o.end, "--end");
    for (const QString &s : std::as_const(o.settings)) {
        if (s.indexOf(QLatin1Char('=')) <= 0)
            throw CliUsageError(QStringLiteral("--set \"%1\": write it as \"PARAMETER=VALUE\".").arg(s));
    }
    return o;
}

QString CliUsageText()
{
    return QStringLiteral(
        "Usage: orvelle-cli [options] PATH...\n"
        "Converts video files with a profile of Orvelle Video Converter, without a window.\n"
        "PATH is a video file, a folder (its video files are added) or a \".tmp\" file that\n"
        "lists paths one a line. Paths that are missing or not supported are skipped.\n"
        "\n"
        "Options:\n"
        "  --profile NAME      the profile, named as the window's chooser shows it\n"
        "                      (default: the profile chosen in the window, else the first)\n"
        "  --output DIR        the output folder (default: the window's output folder)\n"
        "  --set \"NAME=VALUE\"  sets a parameter of the profile: a caption of its list, or\n"
        "                      the text of a free parameter; \"Video Size\" also takes a size\n"
        "                      such as 320x240. May be given more than once.\n"
        "  --start TIME        converts each file from TIME (hh:mm:ss or hh:mm:ss.t)\n"
        "  --end TIME          converts each file up to TIME\n"
        "  --rename            gives a new file another name when its name is taken\n"
        "  --overwrite         replaces a file of the same name\n"
        "                      (default: what the window's settings say)\n"
        "  --dry-run           shows each task and its encoder command line; converts nothing\n"
        "  --list-profiles     lists the profiles with their output types and parameters\n"
        "  -h, --help          shows this text\n"
        "  --version           shows the version\n"
        "\n"
        "Profiles/ and Preferences.ini are read from the program's folder and never changed.\n"
        "\n"
        "Exit status: 0 every task completed; 1 a task failed; 2 a usage error, no task,\n"
        "or an output folder that does not exist; 130 stopped by Ctrl-C (or SIGTERM).\n");
}
