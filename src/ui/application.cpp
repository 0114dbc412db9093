// Starts Qt, the settings screen and, on its first accept, the main window.
#include "ui/application.h"

#include <QApplication>
#include <QPointer>
#include <chrono>
#include <cstdio>

#include "state/game.h"
#include "state/newgame.h"
#include "state/screen.h"
#include "ui/common.h"
#include "ui/main_window.h"
#include "ui/qt_screen.h"
#include "ui/settings_window.h"

namespace tarvex::ui {

namespace {

bool DisplayAvailable(int argc, char** argv) {
    // Qt aborts without a window system; say so in one line instead.
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]) == "-platform") return true;
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

}  // namespace

int RunApplication(int argc, char** argv) {
    if (!DisplayAvailable(argc, argv)) {
        std::fprintf(stderr, "Tarvex needs a display: start it on a desktop, or under Xvfb (xvfb-run -a).\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvex");
    QApplication::setFont(GameFont());
    // The game decides when it ends (the quit question, the end notice), not the last window.
    QApplication::setQuitOnLastWindowClosed(false);

    QtScreen screen;
    MersenneRandom random;
    Game game(screen, random);
    QPointer<SettingsWindow> settings;
    QPointer<MainWindow> mainWindow;

    const auto showMain = [&] {
        if (mainWindow) {
            screen.SyncViews();
            mainWindow->show();
            mainWindow->raise();
            mainWindow->activateWindow();
            return;
        }
        mainWindow = new MainWindow(game, screen);
        screen.SetOwner(mainWindow);
        mainWindow->show();
        mainWindow->activateWindow();
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        random.Seed(static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        mainWindow->Run(Form1_Form_Load);
    };
    screen.onShowSettings = [&] {
        if (!settings) {
            settings = new SettingsWindow(game, screen);
            QObject::connect(settings, &SettingsWindow::accepted, settings, showMain);
        }
        settings->ShowForward();
    };

    SetDefaultSettings(game);
    return app.exec();
}

}  // namespace tarvex::ui
