// The yardstick for the game's start-up: the least a Qt Widgets program does to show a window.
// One QWidget with one QLabel, shown, its events handled once, then the program quits,
// as `tarvex --check-start` does with the settings screen. Given a size and a time
// (`minimal_window 1000 500 1000`), the window takes that size and stays up that many
// milliseconds, as `tarvex --check-main` keeps its main window up.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("minimal");
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel("Hello", &window));
    const int width = argc > 2 ? std::atoi(argv[1]) : 0, height = argc > 2 ? std::atoi(argv[2]) : 0;
    if (width > 0 && height > 0) window.resize(width, height);
    window.show();
    bool shown = false;
    if (argc > 3) {
        // Quitting closes the windows: whether it was up is read just before.
        QTimer::singleShot(std::atoi(argv[3]), &app, [&] {
            shown = window.isVisible();
            QCoreApplication::quit();
        });
        app.exec();
    } else {
        QCoreApplication::processEvents();
        shown = window.isVisible();
    }
    std::printf("window: %s\n", shown ? qUtf8Printable(window.windowTitle()) : "(not shown)");
    return shown ? 0 : 1;
}
