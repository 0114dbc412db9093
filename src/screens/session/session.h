// A game played in windows: the rules' game and everything its windows show,
// the main window's own counters among them. Still no Qt: the window layer
// draws from this and writes the player's edits back into it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "rules/save/background_save.h"
#include "rules/world/game.h"

namespace tarvex {

// The side panels of the main window; exactly one is visible at a time.
enum class Panel { IdlePanel = 1, TopMenu, MilitaryMenu, PoliticsMenu, AmountPanel, TargetPanel, DelegationPanel };

// The panel's name, as the window's object tree calls it ("IdlePanel", ...).
const char* PanelName(Panel panel);

// Controls the screens may ask to focus (with their whole text selected).
enum class Control { None, AmountBox, TroopsBox, FoodBox, GoldBox, TargetList, NationName };

struct FocusRequest {
    Control control = Control::None;
    int serial = 0;  // bumped on every request so the window applies it once
};

// One city's panel on the map, as of its last refresh.
struct CityPanel {
    std::string id, name, owner, power, town, castle, food, gold, troops, arms, civility;
    bool playerColour = false;  // light orange number and name
    bool expanded = false;
};

// The four help panels on the map, in this order.
enum HelpPanel { kHelpCities = 0, kHelpNation = 1, kHelpButtons = 2, kHelpInput = 3, kHelpPanelCount = 4 };

struct MainWindowShown {
    bool loaded = false;
    std::array<CityPanel, kCityCount + 1> panels;
    Panel activePanel = Panel::IdlePanel;
    bool okPrompt = false;
    bool okEnabled = true;
    bool stepTimer = false;
    bool enterLockTimer = false;
    bool delegationMenu = false;
    bool openAllEnabled = true;
    bool closeAllEnabled = true;
    std::array<bool, kHelpPanelCount> helpVisible{true, true, true, true};
    // Where the help panels stand: as far from the map's corner as the view stood at the
    // game's start, so that they stand in the player's first view wherever it was aimed.
    int helpLeft = 0;
    int helpTop = 0;
    int hScroll = 0;  // 0 .. -32300 twips: the map surface's left edge
    int vScroll = 0;  // 0 .. -32300 twips: the map surface's top edge
    // The part of the map in view, in twips, as the window last laid it out;
    // until then the default window's, less its menu bar and scroll bars.
    int viewWidth = 15000 - 225;
    int viewHeight = 7500 - 360 - 225;
    // Command panels
    std::string topMenuCity, amountTitle, amountPrice, amountText, targetTitle, delegationMode;
    std::vector<std::string> targets;
    int targetSelected = -1;
    std::array<std::string, 3> orderAmounts{"0", "0", "0"};
    // After a refused order: the numbers that refused it, under the top menu and
    // under the boxes when the same order is opened again; gone once an order is
    // given, another is started or the turn passes.
    std::string orderHint;
    int orderHintKind = 0;
    std::vector<std::string> delegationNames;
    std::vector<int> delegationCities;  // the city of each entry of delegationNames
    int delegationSelected = -1;
    FocusRequest focus;
    // The war map: the city whose turn is running (0 between seasons) and the small map of Europe.
    int actingCity = 0;
    bool overviewVisible = true;
    // Kept between runs by the window: help panels the player closed stay closed in later
    // games; the view follows the acting city and the battles; a game he commands no city
    // of presses its own OK.
    std::array<bool, kHelpPanelCount> helpClosed{};
    bool followWar = true;
    bool autoPlay = false;
    // The automatic steps stand still ("一時停止中") until the player lets them go on.
    bool paused = false;
    // Bumped whenever following the war moves the view: the window glides there instead of jumping.
    int glideSerial = 0;
    int followedBattle = 0;  // attacker * 100 + defender of the battle last brought into view
    // The player moved the view since the last city began to act: the view is his,
    // and his own city's turn does not take it away.
    bool viewMovedByPlayer = false;
    bool autosaveFailureTold = false;
};

struct SettingsShown {
    bool open = false;
    bool everAccepted = false;
    std::string nationName;
    int option = 2;  // the message speed chosen (0..3), -1 for none
    int check = 0;   // the Enter-advance check box
    // "コンピュータの強さ": the level chosen for a new game (kStandardStrength..kStrongest;
    // 0 for a running game whose nations play at different levels). Fixed once a game
    // runs: the screen then shows the running game's level and takes no other.
    int strength = kStandardStrength;
    bool strengthFixed = false;
    FocusRequest focus;
};

struct BattleShown {
    bool open = false;  // the battle screen is up
    std::array<std::string, 5> attacker{"0", "1", "2", "3", "4"};
    std::array<std::string, 5> defender{"0", "1", "2", "3", "4"};
    bool tacticsEnabled = true;
    bool okEnabled = false;
    // Each tactic's chance for the player's side, by button, reckoned as the
    // screen opens: "約62%"; what the estimate assumes; empty when not reckoned.
    std::array<std::string, 5> tacticOdds;
    std::string oddsNote;
    // After "エラー": what the key could not do yet ("態勢を 1〜5 で選んでください").
    std::string missing;
};

struct EventShown {
    bool open = false;
};

struct Shown {
    MainWindowShown main;
    SettingsShown settings;
    BattleShown battle;
    EventShown event;
};

struct Session : Game {
    using Game::Game;

    Shown shown;
    // The main window's own counters (never saved).
    // The level a new game's computer nations take: the window layer keeps it between runs.
    int StrengthChoice = kStandardStrength;
    int OkLock = 0;         // a held-down Enter makes one step: set until enterLockTimer fires
    int AmountCursor = 0;   // which of the three amount boxes the arrows reach next
    int ListCursor = 0;     // which target the arrows select next
    bool InOkStep = false;  // an OK step is running; a tick now must not start another
    // The autosave of the season's start, written while the season goes on.
    BackgroundPairWriter autosaveWriter;

    void CityRefreshed(int city) override;
    void BattleChanged() override;
    void ActingCityChanged(int city) override;
    bool KeepsCityPanels() const override { return shown.main.loaded; }
    void FinishBackgroundSaves(bool tell) override;
};

// The windows' game behind a game the rules hand to a screen; nullptr for a
// game without windows.
Session* SessionOf(Game& game);

// The main window's caption ("1年目の春"), empty until the main window has loaded; while the
// automatic steps are paused it says so.
std::string MainCaption(const Session& game);
// The market box: the prices of food, arms and troops; empty until the main window has loaded.
struct PriceTexts {
    std::string food, arms, troops;
};
PriceTexts ShownPrices(const Session& game);

}  // namespace tarvex
