// The program: the settings screen first, then the main window.
#include "ui/qt/application.h"

int main(int argc, char** argv) { return tarvex::ui::RunApplication(argc, argv); }
