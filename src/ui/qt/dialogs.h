// The game's modal and modeless windows besides the main window and the settings:
// the battle screen, the event window and the nation information screen.
#pragma once

class QWidget;

namespace tarvex {
struct Session;
}

namespace tarvex::ui {

class QtScreen;

// The battle screen "戦闘画面", modal; returns when the battle is over or the program ends.
void RunBattleWindow(Session& game, QtScreen& screen, QWidget* parent);
// The event window "イベント", modal; returns when its OK has been pressed.
void RunEventWindow(Session& game, QtScreen& screen, QWidget* parent);
// The nation information screen "国家情報": modal (over the battle screen or
// from the help panel) or modeless (from the menu). A modal request while the
// modeless one is open brings that one forward instead.
void ShowNationWindow(Session& game, QtScreen& screen, QWidget* parent, bool modal);

}  // namespace tarvex::ui
