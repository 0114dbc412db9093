// How the windows' game keeps its panels and battle fields as the rules announce changes.
#include "screens/session/session.h"

#include "rules/turn/cycle.h"
#include "rules/world/numbers.h"
#include "screens/main/autosave.h"
#include "screens/map/follow.h"

namespace tarvex {

void Session::CityRefreshed(int city) {
    if (!shown.main.loaded || !IsValidCity(city)) return;
    const City& c = Cities[city];
    CityPanel& p = shown.main.panels[city];
    p.playerColour = IsPlayers(*this, city);
    p.id = Str(c.Id);
    p.name = c.Name;
    p.owner = c.Owner;
    p.power = Str(c.Power);
    p.town = Str(c.Town);
    p.castle = Str(c.Castle);
    p.food = Str(c.Food);
    p.gold = Str(c.Gold);
    p.troops = Str(c.Troops);
    p.arms = Str(c.Arms);
    p.civility = Str(c.Civility);
}

void Session::FinishBackgroundSaves(bool tell) { FinishAutosave(*this, tell); }

void Session::BattleChanged() {
    const City& attacker = Cities[Battle.AttackCity];
    const City& defender = Cities[Battle.DefendCity];
    BattleShown& s = shown.battle;
    s.attacker[1] = Str(Battle.AttackMorale);
    s.attacker[2] = Str(Battle.AttackTroops);
    s.attacker[3] = attacker.Owner;
    s.attacker[4] = attacker.Name;
    s.defender[1] = Str(Battle.DefendMorale);
    s.defender[2] = Str(defender.Troops);
    s.defender[3] = defender.Owner;
    s.defender[4] = defender.Name;
    FollowBattle(*this);
}

void Session::ActingCityChanged(int city) {
    shown.main.actingCity = city;
    FollowCity(*this, city);
}

const char* PanelName(Panel panel) {
    static constexpr const char* kNames[] = {
        "", "IdlePanel", "TopMenu", "MilitaryMenu", "PoliticsMenu", "AmountPanel", "TargetPanel", "DelegationPanel"};
    const int index = static_cast<int>(panel);
    return index >= 1 && index <= 7 ? kNames[index] : "";
}

Session* SessionOf(Game& game) { return dynamic_cast<Session*>(&game); }

std::string MainCaption(const Session& game) {
    if (!game.shown.main.loaded) return {};
    return game.shown.main.paused ? SeasonCaption(game) + "（一時停止中）" : SeasonCaption(game);
}

PriceTexts ShownPrices(const Session& game) {
    if (!game.shown.main.loaded) return {};
    return {FormatNumber(game.FoodPrice), FormatNumber(game.ArmsPrice), FormatNumber(game.TroopsPrice)};
}

}  // namespace tarvex
