// Starts Qt, the settings screen and, on its first accept, the main window.
#pragma once

namespace tarvex::ui {

int RunApplication(int argc, char** argv);

}  // namespace tarvex::ui
