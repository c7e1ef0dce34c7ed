#include "app/ProgramArguments.h"

#include "app/TMainForm.h"

#include <QCommandLineParser>

#include <utility>

namespace {

const QString ProgramName = QStringLiteral("vroview");

// The options QGuiApplication and QApplication take themselves, and whether they have a value.
const std::pair<const char*, bool> QtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"session", true},
    {"display", true},         {"geometry", true},
    {"style", true},           {"stylesheet", true},
    {"qmljsdebugger", true},   {"reverse", false},
    {"widgetcount", false}};

// In the layout help2man reads for the manual page.
const char Usage[] =
    "Usage: vroview [OPTION]... [/debug] [FILE]\n"
    "Downloads, keeps and shows the recordings of the Vireo power and energy recorder.\n"
    "\n"
    "FILE is a database file (*.vro) to open, or a 1.x export file (*.bin) to import.\n"
    "With /debug before it, every close of a database reports the objects left alive.\n"
    "\n"
    "Options:\n"
    "  -h, --help             show this help and exit\n"
    "  -v, --version          show the version and exit\n"
    "      --screenshots DIR  write a picture of every window to DIR and exit (with FILE,\n"
    "                         also of the main window with FILE open); needs no display\n"
    "Qt's own options, such as -platform NAME or -style NAME, are passed on to Qt.\n"
    "\n"
    "While no database is open the main window shows Banner.bmp from the working\n"
    "directory, or else the picture installed with VroView.\n";

} // namespace

ProgramArguments ProgramArguments::Read(const QStringList& arguments) {
    QCommandLineParser parser;
    // "-platform xcb" is one option, as Qt reads it, not six letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption screenshots(QStringLiteral("screenshots"), QString(),
                                         QStringLiteral("DIR"));
    parser.addOptions({help, version, screenshots});
    for (const auto& [name, hasValue] : QtOptions)
        parser.addOption(QCommandLineOption(QLatin1String(name), QString(),
                                            hasValue ? QStringLiteral("value") : QString()));

    ProgramArguments result;
    if (!parser.parse(arguments)) {
        result.action = Action::Mistake;
        result.text =
            QStringLiteral("%1: %2 Try '%1 --help'.\n").arg(ProgramName, parser.errorText());
        return result;
    }
    if (parser.isSet(help)) {
        result.action = Action::Help;
        result.text = QLatin1String(Usage);
    } else if (parser.isSet(version)) {
        result.action = Action::Version;
        result.text = ProgramName + QStringLiteral(" " VRO_VERSION "\n");
    }
    result.screenshots = parser.value(screenshots);
    result.file = TMainForm::CommandLineFile(parser.positionalArguments(), result.debug);
    return result;
}
