// Starts Qt, the settings screen and, on its first accept, the main window.
#pragma once

class QTranslator;

namespace tarvex::ui {

class QtScreen;

int RunApplication(int argc, char** argv);
// Runs the main loop until the game's end stops it (QtScreen::EndProgram), then
// takes the steps on the way out (WayOut::Leave). The program's status.
int RunMainLoop(QtScreen& screen);

// Qt's own texts (standard buttons such as "キャンセル", "はい", "いいえ") in Japanese,
// whatever the system's language, from the system's Qt translations. The translator
// installed (owned by the application), or nullptr when it is not installed: Qt's
// English texts remain then.
QTranslator* InstallQtJapanese();

}  // namespace tarvex::ui
