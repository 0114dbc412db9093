// How the windows' game keeps its panels and battle fields as the rules announce changes.
#include "screens/session/session.h"

#include "rules/turn/cycle.h"
#include "rules/world/numbers.h"

namespace tarvex {

void Session::CityRefreshed(int city) {
    if (!shown.main.loaded || !IsValidCity(city)) return;
    const City& c = Cities[city];
    CityPanel& p = shown.main.panels[city];
    p.playerColour = IsPlayers(*this, city);
    p.Num = Str(c.Id);
    p.Kuni = c.Name;
    p.Ryoshu = c.Owner;
    p.Kokuryoku = Str(c.Power);
    p.Machi = Str(c.Town);
    p.Siro = Str(c.Castle);
    p.Kome = Str(c.Food);
    p.Kin = Str(c.Gold);
    p.Hei = Str(c.Troops);
    p.Busou = Str(c.Arms);
    p.Mindo = Str(c.Civility);
}

void Session::BattleChanged() {
    const City& attacker = Cities[Battle.AttackCity];
    const City& defender = Cities[Battle.DefendCity];
    BattleShown& s = shown.battle;
    s.lblAt[1] = Str(Battle.AttackMorale);
    s.lblAt[2] = Str(Battle.AttackTroops);
    s.lblAt[3] = attacker.Owner;
    s.lblAt[4] = attacker.Name;
    s.lblDef[1] = Str(Battle.DefendMorale);
    s.lblDef[2] = Str(defender.Troops);
    s.lblDef[3] = defender.Owner;
    s.lblDef[4] = defender.Name;
}

Session* SessionOf(Game& game) { return dynamic_cast<Session*>(&game); }

std::string MainCaption(const Session& game) { return game.shown.main.loaded ? SeasonCaption(game) : std::string(); }

PriceTexts ShownPrices(const Session& game) {
    if (!game.shown.main.loaded) return {};
    return {FormatNumber(game.FoodPrice), FormatNumber(game.ArmsPrice), FormatNumber(game.TroopsPrice)};
}

}  // namespace tarvex
