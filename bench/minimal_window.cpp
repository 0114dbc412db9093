// The yardstick for the game's start-up: the least a Qt Widgets program does to show a window.
// One QWidget with one QLabel, shown, its events handled once, then the program quits,
// as `tarvex --check-start` does with the settings screen.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("minimal");
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel("Hello", &window));
    window.show();
    QCoreApplication::processEvents();
    std::printf("window: %s\n", window.isVisible() ? qUtf8Printable(window.windowTitle()) : "(not shown)");
    return window.isVisible() ? 0 : 1;
}
