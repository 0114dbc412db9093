// Starts Qt, the settings screen and, on its first accept, the main window (placeholder).
#include "ui/application.h"

#include <QApplication>

namespace tarvex::ui {

int RunApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}

}  // namespace tarvex::ui
