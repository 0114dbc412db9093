// The whole running game: the world, the calendar, turn bookkeeping, settings,
// the battle in progress and everything the windows show. No Qt here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvex {

inline constexpr int kCityCount = 75;
inline constexpr int kNationCount = 34;
inline constexpr int kMaxValue = 999;
inline constexpr int kTacticCount = 5;

class Screen;
class RandomSource;

struct City {
    int Id = 0;
    std::string Name;
    std::string Owner;
    int Power = 0;
    int Town = 0;
    int Castle = 0;
    int Food = 0;
    int Gold = 0;
    int Troops = 0;
    int Arms = 0;
    int Civility = 0;
    bool operator==(const City&) const = default;
};

struct Nation {
    int Id = 0;
    std::string Name;
    std::string Policy;      // 戦争 / 内政 / 普通
    std::string Stance;      // 慎重 / 猛進 / 普通
    std::string BestTactic;  // 通常 / 包囲 / 突撃 / 射撃
    int Wins = 0;
    int Losses = 0;
    std::array<int, kTacticCount + 1> TacticCount{};  // 1..5; slot 0 unused
    bool operator==(const Nation&) const = default;
};

// The battle in progress; never saved, one at a time.
struct BattleState {
    int AttackCity = 0;
    int DefendCity = 0;
    int AttackTroops = 0;
    int AttackTroopsAtStart = 0;
    int DefendTroopsAtStart = 0;
    int AttackTactic = 1;
    int DefendTactic = 1;
    int AttackMorale = 0;
    int DefendMorale = 0;
    int AttackReserve = 0;
    int DefendReserve = 0;
    int BattleRound = 0;
    bool BattleOver = true;
};

// ---- What the windows show -------------------------------------------------

// The side panels of the main window; exactly one is visible at a time.
enum class Panel { Pic1 = 1, Pic2, Pic3, Pic4, Pic5, Pic6, Pic7 };

// Controls the logic may ask to focus (with their whole text selected).
enum class Control { None, TxtPic5, TxtPic6_0, TxtPic6_1, TxtPic6_2, LstPic6, Text1 };

struct FocusRequest {
    Control control = Control::None;
    int serial = 0;  // bumped on every request so the window applies it once
};

struct MessageLine {
    std::string text;
    bool visible = true;
};

// One city's panel on the map, as of its last refresh.
struct CityPanel {
    std::string Num, Kuni, Ryoshu, Kokuryoku, Machi, Siro, Kome, Kin, Hei, Busou, Mindo;
    bool playerColour = false;  // light orange number and name
    bool expanded = false;
};

// The four help panels on the map, in this order.
enum HelpPanel { kHelpKuni = 0, kHelpNation = 1, kHelpButtons = 2, kHelpInput = 3, kHelpPanelCount = 4 };

struct MainWindowShown {
    bool loaded = false;
    std::string caption;
    std::array<MessageLine, 3> msg;  // lblMsg, lblMsg2, lblMsg3
    std::string lblMsgKome, lblMsgBuki, lblMsgHei;
    std::array<CityPanel, kCityCount + 1> panels;
    Panel activePanel = Panel::Pic1;
    bool lblOkVisible = false;
    bool cmdOkEnabled = true;
    bool tmrOkclick = false;
    bool tmrOk = false;
    bool mnuIninKaijyo = false;
    bool mnuOpen = true;
    bool mnuClose = true;
    std::array<bool, kHelpPanelCount> helpVisible{true, true, true, true};
    int hScroll = 0;  // 0 .. -32300 twips: the map surface's left edge
    int vScroll = 0;  // 0 .. -32300 twips: the map surface's top edge
    // Command panels
    std::string lblPic2, lblPic5, lblSouba, txtPic5, lblPic6, lblPic7;
    std::vector<std::string> lstPic6;
    int lstPic6Selected = -1;
    std::array<std::string, 3> txtPic6{"0", "0", "0"};
    std::vector<std::string> lstPic7;
    int lstPic7Selected = -1;
    FocusRequest focus;
};

struct SettingsShown {
    bool open = false;
    bool everAccepted = false;
    std::string text1;
    int option = 2;  // Option1 index chosen, -1 for none
    int check = 0;   // Check1 value
    FocusRequest focus;
};

struct BattleShown {
    bool open = false;  // the battle screen is up
    std::array<std::string, 5> lblAt{"0", "1", "2", "3", "4"};
    std::array<std::string, 5> lblDef{"0", "1", "2", "3", "4"};
    bool comEnabled = true;
    bool okEnabled = false;
};

struct EventShown {
    bool open = false;
    std::vector<std::string> lines;  // lst
};

struct Shown {
    MainWindowShown main;
    SettingsShown settings;
    BattleShown battle;
    EventShown event;
};

// ---- The game ----------------------------------------------------------------

struct Game {
    Game();
    Game(Screen& screen, RandomSource& random);

    // World
    std::array<City, kCityCount + 1> Cities{};        // 1..75
    std::array<Nation, kNationCount + 1> Nations{};   // 1..34

    // Calendar and market
    int Year = 0;
    int Season = 0;
    std::array<std::string, 5> SeasonNames{};  // 1..4
    int AdvanceGuard = 0;
    std::string Title;
    double FoodPrice = 0;
    double ArmsPrice = 0;
    double TroopsPrice = 0;

    // Turn bookkeeping
    std::array<int, kCityCount + 1> TurnOrder{};  // 1..75
    int TurnStep = 1;
    bool TurnStart = false;
    std::string PlayerNation;
    int CurrentCity = 1;
    bool PlayerTurn = false;
    bool PlayerActed = false;
    bool AdvanceReady = false;
    int CommandKind = 0;
    std::array<int, kCityCount> TargetList{};  // 0..74
    int TargetCount = 0;
    std::array<bool, kCityCount + 1> Delegated{};  // 1..75

    // Settings
    std::string NationChoice;
    int MessageSpeed = 2;
    double MessageWait = 0.5;
    int EnterAdvanceSetting = 0;
    bool EnterAdvance = false;
    bool AutoAdvance = false;
    bool SettingsPending = false;

    // The main window's own counters (not saved)
    int OkLock = 0;
    int AmountCursor = 0;
    int ListCursor = 0;
    // The amount typed in txtPic5, read as a whole number by ExecuteCommand;
    // the player's investment and market orders take it.
    int Pic5Amount = 0;

    BattleState Battle;
    Shown shown;

    // Guards and ends
    bool InOkStep = false;  // an OK step is running; a tick now must not start another
    bool Ended = false;     // the program has been told to end; everything unwinds

    Screen* screen = nullptr;
    RandomSource* random = nullptr;
};

// Looks up the nation record of a city's owner: first match by name, or nullptr.
Nation* NationOf(Game& game, int city);
const Nation* NationOf(const Game& game, int city);
// Index 1..34 of the nation named so, or 0.
int NationIndex(const Game& game, const std::string& name);
// The city is the player's: its owner is the player's nation (delegated or not).
bool IsPlayers(const Game& game, int city);
// The city is commanded by the player: the player's and not delegated.
bool IsPlayerRun(const Game& game, int city);
// Draws Rnd() from the game's random source: uniform in [0, 1).
double Rnd(Game& game);

}  // namespace tarvex
