#include "ui/shell/CommandLine.h"

#include <QCommandLineParser>

namespace velmor {

namespace {

constexpr int kMaxScale = 4;

// The window toolkit's own options, taken off the command line by the
// application object: they are not mistakes here.
bool ToolkitOptionTakesValue(const QString& name)
{
    static const QStringList names = {
        QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
        QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
        QStringLiteral("qwindowtitle"),    QStringLiteral("session"),
        QStringLiteral("style"),           QStringLiteral("stylesheet"),
        QStringLiteral("display"),         QStringLiteral("geometry"),
        QStringLiteral("title"),           QStringLiteral("name")};
    return names.contains(name);
}

bool ToolkitFlag(const QString& name)
{
    static const QStringList names = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                      QStringLiteral("nograb"), QStringLiteral("dograb"),
                                      QStringLiteral("sync")};
    return names.contains(name);
}

QStringList WithoutToolkitOptions(const QStringList& arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (i == 0 || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("--")) {
            kept << argument;
            continue;
        }
        // -style fusion, --style fusion, -style=fusion
        QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        const bool valueJoined = equals >= 0;
        name.truncate(valueJoined ? equals : name.size());
        if (ToolkitFlag(name)) {
            continue;
        }
        if (ToolkitOptionTakesValue(name)) {
            if (!valueJoined) {
                ++i; // its value
            }
            continue;
        }
        kept << argument;
    }
    return kept;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    const QCommandLineOption exportTrend(QStringLiteral("export-trend"), QString(),
                                         QStringLiteral("OUT.png"));
    const QCommandLineOption scale(QStringLiteral("scale"), QString(), QStringLiteral("N"));
    const QCommandLineOption printPdf(QStringLiteral("print-pdf"), QString(),
                                      QStringLiteral("OUT.pdf"));
    parser.addOptions({help, version, exportTrend, scale, printPdf});
    parser.addPositionalArgument(QStringLiteral("FILE"), QString());

    CommandLine line;
    const bool parsed = parser.parse(WithoutToolkitOptions(arguments));
    // Help and version are answered even beside an option not known here.
    line.help = parser.isSet(help);
    line.version = parser.isSet(version);
    if (!parsed) {
        line.error = parser.errorText();
        return line;
    }
    line.exportTrend = parser.value(exportTrend);
    line.printPdf = parser.value(printPdf);
    // An empty name would silently start the windows instead.
    for (const QCommandLineOption* output : {&exportTrend, &printPdf}) {
        if (parser.isSet(*output) && parser.value(*output).isEmpty()) {
            line.error = QStringLiteral("--%1 needs a file name").arg(output->names().constFirst());
            return line;
        }
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        line.error = QStringLiteral("one simulation file at most, not %1").arg(files.size());
        return line;
    }
    line.file = files.value(0);
    if (parser.isSet(scale)) {
        bool ok = false;
        line.scale = parser.value(scale).toInt(&ok);
        if (!ok || line.scale < 1 || line.scale > kMaxScale) {
            line.error = QStringLiteral("--scale takes a whole number from 1 to %1, not '%2'")
                             .arg(kMaxScale)
                             .arg(parser.value(scale));
            return line;
        }
        if (line.exportTrend.isEmpty()) {
            line.error = QStringLiteral("--scale goes with --export-trend");
            return line;
        }
    }
    if (line.writesFiles() && line.file.isEmpty() && !line.help && !line.version) {
        line.error = QStringLiteral("%1 needs a simulation file")
                         .arg(line.exportTrend.isEmpty() ? QStringLiteral("--print-pdf")
                                                         : QStringLiteral("--export-trend"));
    }
    return line;
}

QString CommandLineHelp()
{
    return QStringLiteral(
        "Usage: velmor [FILE.psm | SHEET.vlab]\n"
        "       velmor --export-trend OUT.png [--scale N] FILE.psm\n"
        "       velmor --print-pdf OUT.pdf FILE.psm\n"
        "       velmor --export-map OUT.png EXERCISE --vary NAME=FROM:TO:COUNT\n"
        "              --vary NAME=FROM:TO:COUNT [--set NAME=VALUE ...] [--records N]\n"
        "              [--figure iae|overshoot|settling|stable] [--log NAME] [--scale N]\n"
        "\n"
        "VELMOR, the process-control training simulator.\n"
        "\n"
        "  FILE.psm                 open the simulation file as File > Open does\n"
        "  SHEET.vlab               open the lab sheet as File > Open Lab Sheet... does\n"
        "  --export-trend OUT.png   write the Trends window's panel (524 x 501) after\n"
        "                           opening FILE, show no window, and exit\n"
        "  --scale N                with --export-trend: N times the size (1 to 4)\n"
        "  --print-pdf OUT.pdf      write the printed report of FILE's whole run as\n"
        "                           a PDF, show no window, and exit\n"
        "  --export-map OUT.png     write a tuning map: the figure of a run for every\n"
        "                           pair of the two varied settings (velmor-sim's\n"
        "                           names and limits; --log NAME spaces that axis in\n"
        "                           equal ratios), show no window, and exit\n"
        "  -h, --help               show this text\n"
        "  -v, --version            show the version\n"
        "\n"
        "Exit status: 0 done, 1 the file was refused or the output not written,\n"
        "2 a wrong command line. --export-trend, --print-pdf and --export-map need\n"
        "no display.\n");
}

} // namespace velmor
