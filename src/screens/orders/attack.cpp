// The order "2.戦闘": an attack on a neighbouring city of another owner.
#include "screens/orders/attack.h"

#include <algorithm>
#include <optional>

#include "rules/combat/battle.h"
#include "rules/port/screen.h"
#include "rules/turn/messages.h"
#include "rules/world/numbers.h"
#include "rules/world/scenario.h"
#include "screens/orders/move.h"

namespace tarvex {

namespace {

// A refusal in a box of its own; the order returns to the top menu.
bool Refuse(Session& game, const char* text) {
    Tell(game, text);
    return false;
}

}  // namespace

bool PrepareAttack(Session& game, int city) {
    const City& c = game.Cities[city];
    auto& shown = game.shown.main;
    game.TargetCount = 0;
    shown.targets.clear();
    shown.targetSelected = -1;
    for (int i = 1; i <= kCityCount; ++i) {
        if (game.Cities[i].Owner == c.Owner || !IsNeighbour(city, i)) continue;
        game.TargetList[game.TargetCount++] = i;
        shown.targets.push_back(game.Cities[i].Name);
    }
    // The campaign needs as much food and gold as troops: offer the most that can go.
    const std::string most = Str(std::min({c.Food, c.Gold, c.Troops}));
    shown.orderAmounts = {most, most, most};
    if (game.TargetCount == 0) return Refuse(game, "戦闘可能都市がありません");
    if (c.Troops <= 0) return Refuse(game, "兵力が0です");
    shown.targetSelected = 0;
    return true;
}

bool ExecuteAttack(Session& game, int city) {
    const int target = SelectedTarget(game);
    // Without a chosen target the troops would march against nobody.
    if (target < 1 || target > kCityCount || target == city) return Refuse(game, "攻める都市を選んでください");

    const auto& boxes = game.shown.main.orderAmounts;
    const std::optional<int> troops = ParseFlooredAmount(boxes[0]);
    const std::optional<int> food = troops ? ParseFlooredAmount(boxes[1]) : std::nullopt;
    const std::optional<int> gold = food ? ParseFlooredAmount(boxes[2]) : std::nullopt;
    if (!gold) return Refuse(game, "整数を入力してください");
    const int t = *troops, f = *food, g = *gold;
    if (t < 0 || f < 0 || g < 0) return Refuse(game, "0以上の数を入力してください");

    City& a = game.Cities[city];
    if (t > a.Troops || t == 0) return Refuse(game, "足りません");
    if (f < t || f > a.Food) return Refuse(game, "食料が足りません");
    if (g < t || g > a.Gold) return Refuse(game, "金が足りません");

    Question confirm;
    confirm.text = game.shown.main.panels[target].name + "へ攻める";
    if (game.screen->Ask(game, confirm) != Answer::Ok) return false;

    // From here the troops have marched and the battle is fought to its end.
    City& d = game.Cities[target];
    if (d.Troops < 1) d.Troops = 1;  // someone always holds the walls
    BattleState& b = game.Battle;
    b.AttackCity = city;
    b.AttackTroops = t;
    b.DefendCity = target;
    b.AttackTroopsAtStart = t;
    b.DefendTroopsAtStart = d.Troops;
    a.Troops -= t;
    b.DefendTactic = ChooseTactic(game, target, city);
    game.screen->RunBattleScreen(game);
    return true;
}

}  // namespace tarvex
