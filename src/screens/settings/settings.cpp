// The settings screen: the player's nation, the message speed, Enter to advance.
#include "screens/settings/settings.h"

#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "rules/world/refresh.h"
#include "screens/main/quit.h"
#include "screens/session/keycodes.h"

namespace tarvex {

namespace {
constexpr const char* kDefaultNation = "イングランド王国";
constexpr int kDefaultSpeed = 2;
}  // namespace

void SetDefaultSettings(Session& game) {
    game.NationChoice = kDefaultNation;
    game.MessageSpeed = kDefaultSpeed;
    game.EnterAdvanceSetting = 0;
    game.SettingsPending = true;
    game.shown.settings.open = true;
    game.screen->ShowSettings(game);
}

void SetGame_Form_Load(Session& game) {
    SettingsShown& s = game.shown.settings;
    game.AutoAdvance = true;
    s.option = game.MessageSpeed;
    SetGame_Check1_Click(game, game.EnterAdvanceSetting);
    s.text1 = game.NationChoice;
    game.SettingsPending = false;
    s.open = true;
}

void SetGame_Check1_Click(Session& game, int value) {
    game.shown.settings.check = value;
    game.EnterAdvance = value == 1;
}

void SetGame_Option1_Click(Session& game, int index) { game.shown.settings.option = index; }

void SetGame_Text1_Change(Session& game, const std::string& text) { game.shown.settings.text1 = text; }

void SetGame_Text1_GotFocus(Session& game) {
    game.shown.settings.focus.control = Control::Text1;
    ++game.shown.settings.focus.serial;
}

void SetGame_Command1_Click(Session& game) {
    SettingsShown& s = game.shown.settings;
    if (s.text1.empty()) s.text1 = "*";
    game.PlayerNation = s.text1;
    // No speed chosen counts as the slowest.
    game.MessageWait = s.option >= 0 && s.option < 3 ? kMessageWaits[s.option] : kMessageWaits[3];
    game.AutoAdvance = s.check != 1;
    game.MessageSpeed = s.option;
    game.NationChoice = s.text1;
    game.EnterAdvanceSetting = s.check;
    s.open = false;
    s.everAccepted = true;
    // A change of nation recolours the panels at once rather than at the next step.
    if (game.shown.main.loaded) RefreshAllCities(game);
}

void SetGame_Command2_Click(Session& game) {
    Question q;
    q.text = "初期設定に戻します。\nよろしいですか?";
    q.defaultButton = Answer::Ok;
    if (game.screen->Ask(game, q) == Answer::Cancel) return;
    game.shown.settings.text1 = kDefaultNation;
    game.shown.settings.option = kDefaultSpeed;
    SetGame_Check1_Click(game, 0);
}

void SetGame_cmdSetGameHelp_Click(Session& game) {
    game.screen->Message(game, "ボタン、チェックボックスを選ぶときテンキーでも選べます", "");
}

void SetGame_Form_KeyDown(Session& game, int key) {
    if (key == kKeyF1) {
        ConfirmQuit(game);
        return;
    }
    const int digit = KeyPadDigit(key);
    if (digit >= 1 && digit <= 4) {
        SetGame_Option1_Click(game, digit - 1);
    } else if (digit == 5) {
        SetGame_Check1_Click(game, game.shown.settings.check == 1 ? 0 : 1);
    } else if (digit == 6) {
        SetGame_Text1_GotFocus(game);
    }
}

void SetGame_Form_Close(Session& game) {
    game.shown.settings.open = false;
    if (!game.shown.settings.everAccepted) EndProgramNow(game);
}

}  // namespace tarvex
