// The running game as the rules know it: the saved world, the turn in progress,
// the battle, the message lines. What the windows show lives one layer up.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "rules/chronicle/record.h"
#include "rules/port/random.h"
#include "rules/world/nation_words.h"

namespace tarvex {

inline constexpr int kCityCount = 75;
inline constexpr int kNationCount = kChronicleNations;
inline constexpr int kMaxValue = 999;
inline constexpr int kTacticCount = 5;
// How well the computer plays a nation: the rules' own computer, a stronger
// one, the strongest.
inline constexpr int kStandardStrength = 1;
inline constexpr int kStrongest = 3;

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
    // The owner's number 1..34 (the first nation of that name), 0 when the name
    // names no nation, so that the seasons compare numbers, not names. Not saved:
    // SetOwner, SetOwnerAs and RefreshOwnerIndices keep it with Owner, and code
    // that writes Owner itself must refresh it.
    int OwnerIndex = 0;
    bool operator==(const City&) const = default;
};

struct Nation {
    int Id = 0;
    std::string Name;
    NationWord<PolicyKind> Policy;      // 戦争 / 内政 / 普通
    NationWord<StanceKind> Stance;      // 慎重 / 猛進 / 普通
    NationWord<TacticKind> BestTactic;  // 通常 / 包囲 / 突撃 / 射撃
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

struct MessageLine {
    std::string text;
    bool visible = true;
};

// Everything the save file keeps: the map, the nations, the calendar, the
// market, the settings and where the turn stands.
struct World {
    std::array<City, kCityCount + 1> Cities{};       // 1..75
    std::array<Nation, kNationCount + 1> Nations{};  // 1..34

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

    bool operator==(const World&) const = default;
};

// The saved world and the turn in progress. The windows' game derives from it
// and adds what they show; assigning a Game to it replaces the rules' part only,
// as loading a file does.
struct Game : World {
    Game();
    Game(Screen& screen, RandomSource& random);
    Game(const Game&) = default;
    Game& operator=(const Game&) = default;
    virtual ~Game() = default;

    int TurnStep = 1;  // the next step of the season: 1..75 a city's turn, 76 the season's end
    BattleState Battle;
    // The three message lines: headline, result, second report.
    std::array<MessageLine, 3> Lines;
    // What the autumn's chance event did, one line each, until the event window is closed.
    std::vector<std::string> EventLines;
    // How the war went, for the chronicle and its charts; never in the save file.
    Chronicle chronicle;
    bool Ended = false;  // the program has been told to end (EndProgramNow); nothing more runs
    // How well the computer plays each nation 1..34 (kStandardStrength..kStrongest).
    // A setting of this game, not of the world: the save file never holds it, so
    // that its bytes are the same at every level. A file beside the save keeps
    // it (ReadSavePair, WriteSavePair); reading the save file alone leaves it as it was.
    std::array<int, kNationCount + 1> Strength = [] {
        std::array<int, kNationCount + 1> levels{};
        levels.fill(kStandardStrength);
        return levels;
    }();

    Screen* screen = nullptr;
    RandomSource* random = nullptr;

    // What the rules announce to whatever shows the game. A game without
    // windows ignores them; the windows' game keeps its panels by them.
    // A city's values were checked and are to be shown as they stand now.
    virtual void CityRefreshed(int /*city*/) {}
    // The battle's morale and troops changed.
    virtual void BattleChanged() {}
    // The city now giving its order (0 between seasons): the map marks it.
    virtual void ActingCityChanged(int /*city*/) {}
    // True when city panels are kept: the refresh then announces every city,
    // not only those with a value to report.
    virtual bool KeepsCityPanels() const { return false; }
    // A save still being written in the background is finished before the game
    // saves, loads or ends; `tell`: what became of it is told now.
    virtual void FinishBackgroundSaves(bool /*tell*/) {}
};

// The nation record of a city's owner (the first of that name), or nullptr when the owner names no nation.
inline Nation* NationOf(Game& game, int city) {
    const int n = game.Cities[city].OwnerIndex;
    return n != 0 ? &game.Nations[n] : nullptr;
}
inline const Nation* NationOf(const Game& game, int city) { return NationOf(const_cast<Game&>(game), city); }
// Index 1..34 of the first nation named so, or 0.
int NationIndex(const Game& game, const std::string& name);
// Gives a city to the owner of that name.
void SetOwner(Game& game, int city, const std::string& owner);
// Gives a city to the owner of another.
void SetOwnerAs(Game& game, int city, int other);
// Works every city's owner index out again from the names, once the nations or the
// owners were written wholesale (the starting world, a file).
void RefreshOwnerIndices(Game& game);
// The two cities' owners have the same name.
inline bool SameOwner(const Game& game, int a, int b) {
    const City& x = game.Cities[a];
    const City& y = game.Cities[b];
    // Names of nations differ exactly when their numbers do; only names of no nation are read.
    return x.OwnerIndex == y.OwnerIndex && (x.OwnerIndex != 0 || x.Owner == y.Owner);
}
// The city is the player's: its owner is the player's nation (delegated or not).
bool IsPlayers(const Game& game, int city);
// The city is commanded by the player: the player's and not delegated.
bool IsPlayerRun(const Game& game, int city);
inline bool IsValidCity(int city) { return city >= 1 && city <= kCityCount; }
// How well the computer plays the city's owner; the rules' own computer for an owner naming no nation.
inline int StrengthOf(const Game& game, int city) {
    const int n = game.Cities[city].OwnerIndex;
    return n != 0 ? game.Strength[n] : kStandardStrength;
}
// Draws Rnd() from the game's random source: uniform in [0, 1). Inline: the
// computer draws it a few hundred times a season.
inline double Rnd(Game& game) { return game.random->Next(); }

}  // namespace tarvex
