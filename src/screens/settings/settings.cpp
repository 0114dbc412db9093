// The settings screen: the player's nation, the message speed, Enter to advance.
#include "screens/settings/settings.h"

#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "rules/world/refresh.h"
#include "rules/world/scenario.h"
#include "rules/world/strength.h"
#include "screens/main/quit.h"
#include "screens/session/keycodes.h"

namespace tarvex {

namespace {
constexpr const char* kDefaultNation = "イングランド王国";
constexpr int kDefaultSpeed = 2;
// The name the rules give nobody's nation: an empty name becomes it on accept.
constexpr const char* kNobody = "*";

// Cities each nation holds when a game begins.
int StartingCities(const NationRow& n) {
    int cities = 0;
    for (const CityRow& c : kStartingCities) cities += std::string(c.owner) == n.name;
    return cities;
}

// The nation's first city at the start: where it lies, beside its colour.
const char* FirstCity(const NationRow& n) {
    for (const CityRow& c : kStartingCities)
        if (std::string(c.owner) == n.name) return c.name;
    return "";
}

// The one nation with cities at the start whose name holds `text`, or nullptr
// when none or several do.
const char* NationMeant(const std::string& text) {
    const char* meant = nullptr;
    for (const NationRow& n : kStartingNations) {
        if (StartingCities(n) == 0 || std::string(n.name).find(text) == std::string::npos) continue;
        if (meant) return nullptr;
        meant = n.name;
    }
    return meant;
}

// A name that names no nation makes the computer play every city: make sure
// that is meant, and offer the nation a part of a name points to. False: back
// to the name; the name box may have taken the nation meant.
bool WatchingIsMeant(Session& game, std::string& name) {
    if (name.empty() || name == kNobody || NamesANation(game, name)) return true;
    Question q;
    if (const char* meant = NationMeant(name)) {
        q.text = "「" + name + "」は" + meant + "のことですか?";
        const int choice = game.screen->Choose(game, q, {std::string(meant) + "で始める", "観戦する", "名前を直す"});
        if (choice == 0) name = meant;
        return choice == 0 || choice == 1;
    }
    q.text = "「" + name + "」という国はありません。コンピュータ同士の対戦を観戦しますか?";
    // A mistyped name is likelier than a wish to watch: Enter goes back to the name.
    q.defaultButton = Answer::Cancel;
    return game.screen->Ask(game, q) == Answer::Ok;
}

}  // namespace

std::vector<NationEntry> NationChoices() {
    std::vector<NationEntry> entries;
    entries.push_back({0, "", "観戦（コンピュータ同士）"});
    // A nation without a city at the start has nothing to play with.
    for (const NationRow& n : kStartingNations)
        if (const int cities = StartingCities(n); cities > 0)
            entries.push_back({n.index, n.name,
                               std::string(n.name) + "（" + std::to_string(cities) + "都市・" + FirstCity(n) +
                                   (cities > 1 ? "ほか" : "") + "）"});
    return entries;
}

bool NamesANation(const Game& game, const std::string& name) {
    if (name.empty()) return false;
    for (const NationRow& n : kStartingNations)
        if (name == n.name) return true;
    return NationIndex(game, name) > 0;
}

void SetDefaultSettings(Session& game) {
    game.NationChoice = kDefaultNation;
    game.MessageSpeed = kDefaultSpeed;
    game.EnterAdvanceSetting = 0;
    game.SettingsPending = true;
    game.shown.settings.open = true;
    game.screen->ShowSettings(game);
}

void OpenSettingsScreen(Session& game) {
    SettingsShown& s = game.shown.settings;
    game.AutoAdvance = true;
    s.option = game.MessageSpeed;
    SetEnterAdvance(game, game.EnterAdvanceSetting);
    s.nationName = game.NationChoice;
    // The level is chosen for a new game: a running one shows its own.
    s.strengthFixed = game.shown.main.loaded;
    s.strength = s.strengthFixed ? ComputerStrength(game) : game.StrengthChoice;
    game.SettingsPending = false;
    s.open = true;
}

void SetEnterAdvance(Session& game, int value) {
    game.shown.settings.check = value;
    game.EnterAdvance = value == 1;
}

void ChooseMessageSpeed(Session& game, int index) { game.shown.settings.option = index; }

void ChooseStrength(Session& game, int level) {
    SettingsShown& s = game.shown.settings;
    if (!s.strengthFixed && IsStrength(level)) s.strength = level;
}

void TypeNationName(Session& game, const std::string& text) { game.shown.settings.nationName = text; }

void FocusNationName(Session& game) {
    game.shown.settings.focus.control = Control::NationName;
    ++game.shown.settings.focus.serial;
}

void AcceptSettings(Session& game) {
    SettingsShown& s = game.shown.settings;
    if (!WatchingIsMeant(game, s.nationName)) {
        FocusNationName(game);
        return;
    }
    if (s.nationName.empty()) s.nationName = kNobody;
    // A player who takes up another nation mid-game hands his old one to the computer
    // at the level the others play at, and plays the new one himself.
    const int computerLevel = game.shown.main.loaded ? ComputerStrength(game) : 0;
    game.PlayerNation = s.nationName;
    if (computerLevel != 0) SetComputerStrength(game, computerLevel);
    if (!s.strengthFixed && IsStrength(s.strength)) game.StrengthChoice = s.strength;
    // No speed chosen counts as the slowest.
    game.MessageWait = s.option >= 0 && s.option < 3 ? kMessageWaits[s.option] : kMessageWaits[3];
    game.AutoAdvance = s.check != 1;
    game.MessageSpeed = s.option;
    game.NationChoice = s.nationName;
    game.EnterAdvanceSetting = s.check;
    s.open = false;
    s.everAccepted = true;
    // A change of nation recolours the panels at once rather than at the next step.
    if (game.shown.main.loaded) RefreshAllCities(game);
}

void RestoreDefaultSettings(Session& game) {
    Question q;
    q.text = "初期設定に戻します。\nよろしいですか?";
    q.defaultButton = Answer::Ok;
    if (game.screen->Ask(game, q) == Answer::Cancel) return;
    game.shown.settings.nationName = kDefaultNation;
    game.shown.settings.option = kDefaultSpeed;
    ChooseStrength(game, kStandardStrength);
    SetEnterAdvance(game, 0);
}

void ShowSettingsHelp(Session& game) {
    game.screen->Message(game, "ボタン、チェックボックスを選ぶときテンキーでも選べます", "");
}

void PressSettingsKey(Session& game, int key) {
    if (key == kKeyF1) {
        ConfirmQuit(game);
        return;
    }
    const int digit = KeyPadDigit(key);
    if (digit >= 1 && digit <= 4) {
        ChooseMessageSpeed(game, digit - 1);
    } else if (digit == 5) {
        SetEnterAdvance(game, game.shown.settings.check == 1 ? 0 : 1);
    } else if (digit == 6) {
        FocusNationName(game);
    } else if (digit >= 7) {
        ChooseStrength(game, digit - 6);
    }
}

void CloseSettings(Session& game) {
    game.shown.settings.open = false;
    if (!game.shown.settings.everAccepted) EndProgramNow(game);
}

}  // namespace tarvex
