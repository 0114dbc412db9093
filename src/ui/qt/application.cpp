// Starts Qt, the settings screen and, on its first accept, the main window.
#include "ui/qt/application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

#include "rules/port/random.h"
#include "rules/port/screen.h"
#include "screens/main/autosave.h"
#include "screens/main/main_window.h"
#include "screens/session/session.h"
#include "screens/settings/settings.h"
#include "ui/main/main_window.h"
#include "ui/map/map_picture.h"
#include "ui/qt/common.h"
#include "ui/qt/qt_screen.h"
#include "ui/settings/settings_window.h"

namespace tarvex::ui {

namespace {

bool DisplayAvailable(int argc, char** argv) {
    // Qt aborts without a window system; say so in one line instead.
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]) == "-platform") return true;
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

// What the command line asks for. Qt's own options pass on to Qt; anything else is refused.
struct Options {
    bool help = false;
    bool checkStart = false;
    bool checkMain = false;
    QByteArray unknown;  // the first argument neither the game nor Qt takes
};

// Qt's options (one dash or two), those that take a value ("-style fusion" or "-style=fusion") first.
constexpr std::array kQtValueOptions{"platform",
                                     "platformpluginpath",
                                     "platformtheme",
                                     "plugin",
                                     "qwindowgeometry",
                                     "qwindowicon",
                                     "qwindowtitle",
                                     "qmljsdebugger",
                                     "session",
                                     "display",
                                     "geometry",
                                     "title",
                                     "name",
                                     "icon",
                                     "visual",
                                     "style",
                                     "stylesheet"};
constexpr std::array kQtFlags{"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

Options ReadOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc && options.unknown.isEmpty(); ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--check-start" || arg == "--check-main") {
            (arg == "--check-start" ? options.checkStart : options.checkMain) = true;
            continue;
        }
        const QByteArray bare = arg.startsWith("--") ? arg.mid(2) : arg.startsWith('-') ? arg.mid(1) : QByteArray();
        const qsizetype equals = bare.indexOf('=');
        const QByteArray name = equals < 0 ? bare : bare.left(equals);
        const auto named = [&](const char* option) { return name == option; };
        if (!bare.isEmpty() && std::any_of(kQtValueOptions.begin(), kQtValueOptions.end(), named)) {
            if (!bare.contains('=')) ++i;  // its value
            continue;
        }
        if (!bare.isEmpty() && !bare.contains('=') && std::any_of(kQtFlags.begin(), kQtFlags.end(), named)) continue;
        options.unknown = arg;
    }
    return options;
}

constexpr const char* kUsage =
    "Usage: tarvex [--check-start | --check-main] [Qt options]\n"
    "Starts the game: the settings screen first, then the map.\n"
    "  --check-start  show the settings screen, print its title, the data files found\n"
    "                 (help page, map) and the save file's place, then quit: a quick\n"
    "                 check that an installed game starts (QT_QPA_PLATFORM=offscreen\n"
    "                 works without a display)\n"
    "  --check-main   accept the settings as they stand, show the main window for a\n"
    "                 second, print its caption and size and quit: the yardstick for the\n"
    "                 memory the game needs with its map up\n"
    "  --help         this text\n"
    "Qt's own options (-platform, -style, -reverse, ...) are passed on to Qt.\n";

// For packagers and the install test: the settings screen is up, and this is what
// the game found around it. Status 1 when the settings screen did not show.
int ReportStart(QWidget* settings, QtScreen& screen, Session& game) {
    QCoreApplication::processEvents();
    const bool shown = settings && settings->isVisible();
    std::printf("settings window: %s\n", shown ? qUtf8Printable(settings->windowTitle()) : "(not shown)");
    const QString help = FindDataFile(kHomePage);
    std::printf("help page: %s\n", help.isEmpty() ? "not found" : qUtf8Printable(help));
    const QString map = FindDataFile("map/europe.map");
    QPainterPath land;
    QString problem;
    if (map.isEmpty())
        std::printf("map: not found\n");
    else if (!LoadLandPath(map, &land, &problem))
        std::printf("map: damaged: %s\n", qUtf8Printable(problem));
    else
        std::printf("map: %s\n", qUtf8Printable(map));
    std::printf("save file: %s\n", screen.SaveFilePath(game).c_str());
    if (help.isEmpty() || map.isEmpty())
        std::printf("data looked for in: %s\n", qUtf8Printable(DataSearchRoots().join(", ")));
    std::fflush(stdout);
    delete settings;
    return shown ? 0 : 1;
}

// The application's name, Japanese texts, icon and type, for every window.
void DressApplication() {
    QApplication::setApplicationName("Tarvex");
    if (!InstallQtJapanese()) std::fprintf(stderr, "tarvex: Qt's Japanese texts (qtbase_ja.qm) are not installed\n");
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName("io.github.tarvex.Tarvex");
    QIcon icon = QIcon::fromTheme("tarvex");
    if (icon.isNull()) icon = QIcon(FindDataFile("icons/tarvex-128.png"));
    QApplication::setWindowIcon(icon);
    QApplication::setFont(GameFont());
    // The game decides when it ends (the quit question, the end notice), not the last window.
    QApplication::setQuitOnLastWindowClosed(false);
}

// --check-main: accepts the settings as they stand and reports the main window a second later.
void CheckMainWindow(const QPointer<SettingsWindow>& settings, const QPointer<MainWindow>& mainWindow) {
    if (auto* ok = settings ? settings->findChild<QPushButton*>("OkButton") : nullptr) ok->click();
    QTimer::singleShot(1000, qApp, [&mainWindow] {
        const bool up = mainWindow && mainWindow->isVisible();
        std::printf("main window: %s\n", up ? qUtf8Printable(mainWindow->windowTitle()) : "(not shown)");
        // The size it opened at: what a yardstick window of the same picture needs.
        if (up) std::printf("main window size: %d x %d\n", mainWindow->width(), mainWindow->height());
        std::fflush(stdout);
        QCoreApplication::exit(up ? 0 : 1);
    });
}

void BringForward(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

// Every new game's draws differ from the last one's.
void SeedFromClock(MersenneRandom& random) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    random.Seed(static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

}  // namespace

QTranslator* InstallQtJapanese() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

int RunApplication(int argc, char** argv) {
    const Options options = ReadOptions(argc, argv);
    if (!options.unknown.isEmpty()) {
        // A mistyped option must not start the game as if nothing were asked.
        std::fprintf(stderr, "tarvex: unknown option: %s\n", options.unknown.constData());
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const bool checkStart = options.checkStart;
    const bool checkMain = options.checkMain;
    if (!DisplayAvailable(argc, argv)) {
        std::fprintf(stderr, "Tarvex needs a display: start it on a desktop, or under Xvfb (xvfb-run -a).\n");
        return 1;
    }
    QApplication app(argc, argv);
    DressApplication();

    QtScreen screen;
    MersenneRandom random;
    Session game(screen, random);
    QPointer<SettingsWindow> settings;
    QPointer<MainWindow> mainWindow;

    const auto showMain = [&] {
        if (settings) settings->Release();  // hidden until the player asks for it again
        if (mainWindow) {
            screen.SyncViews();
            BringForward(mainWindow);
            return;
        }
        mainWindow = new MainWindow(game, screen);
        screen.SetOwner(mainWindow);
        ShowAndPaint(mainWindow);
        mainWindow->activateWindow();
        SeedFromClock(random);
        mainWindow->Run(StartGame);
        if (settings && settings->TakeResume()) mainWindow->Run(LoadAutosave);
    };
    screen.onShowSettings = [&] {
        if (!settings) {
            settings = new SettingsWindow(game, screen);
            // Queued: the settings window's own click has ended when the main window comes.
            QObject::connect(settings, &SettingsWindow::accepted, settings, showMain, Qt::QueuedConnection);
        }
        settings->ShowForward();
    };

    SetDefaultSettings(game);
    if (checkStart) return ReportStart(settings, screen, game);
    if (checkMain) CheckMainWindow(settings, mainWindow);
    const int status = RunMainLoop(screen);
    // The windows go before the game they show.
    delete mainWindow.data();
    delete settings.data();
    return status;
}

int RunMainLoop(QtScreen& screen) {
    screen.Out().leaveMainLoop = [] { QCoreApplication::exit(0); };
    const int status = QApplication::exec();
    // The game has ended (or the desktop closed the program): the steps on the way out.
    screen.Out().Leave();
    return status;
}

}  // namespace tarvex::ui
