// How a game comes into being: the settings screen, the new game, the prices.
#include "state/newgame.h"

#include "commands/panels.h"
#include "state/mapview.h"
#include "state/numbers.h"
#include "state/refresh.h"
#include "state/scenario.h"
#include "state/screen.h"
#include "turn/messages.h"
#include "turn/quit.h"

namespace tarvex {

namespace {
constexpr const char* kDefaultNation = "イングランド王国";
constexpr int kKeypad1 = 97;
constexpr int kKeypad6 = 102;
}  // namespace

void SetDefaultSettings(Game& game) {
    game.NationChoice = kDefaultNation;
    game.MessageSpeed = 2;
    game.EnterAdvanceSetting = 0;
    game.SettingsPending = true;
    game.shown.settings.open = true;
    game.screen->ShowSettings(game);
}

void SetGame_Form_Load(Game& game) {
    SettingsShown& s = game.shown.settings;
    game.AutoAdvance = true;
    s.option = game.MessageSpeed;
    SetGame_Check1_Click(game, game.EnterAdvanceSetting);
    s.text1 = game.NationChoice;
    game.SettingsPending = false;
    s.open = true;
}

void SetGame_Check1_Click(Game& game, int value) {
    game.shown.settings.check = value;
    game.EnterAdvance = value == 1;
}

void SetGame_Option1_Click(Game& game, int index) { game.shown.settings.option = index; }

void SetGame_Text1_Change(Game& game, const std::string& text) { game.shown.settings.text1 = text; }

void SetGame_Text1_GotFocus(Game& game) {
    game.shown.settings.focus.control = Control::Text1;
    ++game.shown.settings.focus.serial;
}

void SetGame_Command1_Click(Game& game) {
    SettingsShown& s = game.shown.settings;
    if (s.text1.empty()) s.text1 = "*";
    game.PlayerNation = s.text1;
    switch (s.option) {
        case 0: game.MessageWait = 0.1; break;
        case 1: game.MessageWait = 0.2; break;
        case 2: game.MessageWait = 0.5; break;
        default: game.MessageWait = 1.0; break;
    }
    game.AutoAdvance = s.check != 1;
    game.MessageSpeed = s.option;
    game.NationChoice = s.text1;
    game.EnterAdvanceSetting = s.check;
    s.open = false;
    s.everAccepted = true;
    // A change of nation recolours the panels at once rather than at the next step.
    if (game.shown.main.loaded) RefreshAllCities(game);
}

void SetGame_Command2_Click(Game& game) {
    Question q;
    q.text = "初期設定に戻します。\nよろしいですか?";
    q.defaultButton = Answer::Ok;
    if (game.screen->Ask(game, q) == Answer::Cancel) return;
    game.shown.settings.text1 = kDefaultNation;
    game.shown.settings.option = 2;
    SetGame_Check1_Click(game, 0);
}

void SetGame_cmdSetGameHelp_Click(Game& game) {
    game.screen->Message(game, "ボタン、チェックボックスを選ぶときテンキーでも選べます", "");
}

void SetGame_Form_KeyDown(Game& game, int key) {
    if (key == kKeyF1) {
        ConfirmQuit(game);
        return;
    }
    if (key >= kKeypad1 && key <= kKeypad1 + 3) {
        SetGame_Option1_Click(game, key - kKeypad1);
    } else if (key == kKeypad1 + 4) {
        SetGame_Check1_Click(game, game.shown.settings.check == 1 ? 0 : 1);
    } else if (key == kKeypad6) {
        SetGame_Text1_GotFocus(game);
    }
}

void SetGame_Form_Close(Game& game) {
    game.shown.settings.open = false;
    if (!game.shown.settings.everAccepted) {
        game.Ended = true;
        game.screen->EndProgram(game);
    }
}

void Form1_Form_Load(Game& game) {
    MainWindowShown& m = game.shown.main;
    m.loaded = true;
    m.helpVisible = {true, true, true, true};
    m.mnuIninKaijyo = false;
    m.mnuOpen = true;
    m.mnuClose = true;
    m.hScroll = 0;
    m.vScroll = 0;
    m.activePanel = Panel::Pic1;
    NewGame(game);
    ShowMsg(game, Str(game.Year) + "年目、春です");
    m.lblOkVisible = true;
}

void NewGame(Game& game) {
    game.CurrentCity = 1;
    game.Year = 1;
    game.Title = "Tarvex";
    game.Season = 1;
    game.SeasonNames = {"", "春", "夏", "秋", "冬"};
    game.FoodPrice = 1.0;
    game.ArmsPrice = 1.5;
    game.TroopsPrice = 5.0;
    game.TurnStep = 1;
    game.AdvanceReady = true;
    game.TurnStart = true;
    game.Delegated.fill(false);
    SetMainCaption(game);
    InitCities(game);
    InitNations(game);
    RefreshAllCities(game);
    DrawPrices(game);
}

void DrawPrices(Game& game) {
    game.FoodPrice = Floor(Rnd(game) * 20 + 1) / 10.0 + 0.3;
    game.TroopsPrice = Floor(Rnd(game) * 50 + 1) / 10.0 + 2;
    game.ArmsPrice = Floor(Rnd(game) * 50 + 1) / 10.0 + 5;
    ShowPrices(game);
}

void ShowPrices(Game& game) {
    game.shown.main.lblMsgKome = FormatNumber(game.FoodPrice);
    game.shown.main.lblMsgBuki = FormatNumber(game.ArmsPrice);
    game.shown.main.lblMsgHei = FormatNumber(game.TroopsPrice);
}

std::string SeasonCaption(const Game& game) {
    const int season = game.Season >= 1 && game.Season <= 4 ? game.Season : 1;
    return Str(game.Year) + "年目の" + game.SeasonNames[season];
}

void SetMainCaption(Game& game) { game.shown.main.caption = SeasonCaption(game); }

}  // namespace tarvex
