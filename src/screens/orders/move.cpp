// The order "1.移動": troops, food and gold to a neighbouring city of the same owner.
#include "screens/orders/move.h"

#include <algorithm>
#include <optional>

#include "rules/turn/messages.h"
#include "rules/world/march.h"
#include "rules/world/numbers.h"
#include "rules/world/refresh.h"
#include "rules/world/scenario.h"

namespace tarvex {

bool PrepareMove(Session& game, int city) {
    MainWindowShown& main = game.shown.main;
    main.orderAmounts = {"0", "0", "0"};
    game.TargetCount = 0;
    main.targets.clear();
    main.targetSelected = -1;
    if (city < 1 || city > kCityCount) return false;
    const City& source = game.Cities[city];
    for (int j = 1; j <= kCityCount; ++j) {
        if (j == city || !IsNeighbour(city, j) || game.Cities[j].Owner != source.Owner) continue;
        game.TargetList[game.TargetCount++] = j;
        main.targets.push_back(game.Cities[j].Name);
    }
    if (game.TargetCount == 0) {
        Tell(game, "隣に味方の領土がありません");
        return false;
    }
    main.targetSelected = 0;
    main.orderAmounts = {Str(source.Troops), Str(source.Food), Str(source.Gold)};
    return true;
}

int SelectedTarget(const Session& game) {
    // The list shows the names of TargetList's cities in its order; two cities
    // of one name are still two places, so the choice goes by its position.
    const int selected = game.shown.main.targetSelected;
    if (selected < 0 || selected >= game.TargetCount || selected >= static_cast<int>(game.shown.main.targets.size()))
        return 0;
    const int city = game.TargetList[selected];
    return IsValidCity(city) ? city : 0;
}

bool ExecuteMove(Session& game, int city) {
    if (city < 1 || city > kCityCount) return false;
    const int target = SelectedTarget(game);
    // Without a chosen destination the goods would go nowhere and be lost.
    if (target == 0 || target == city) {
        Tell(game, "移動先を選んでください");
        return false;
    }
    const auto& boxes = game.shown.main.orderAmounts;
    std::optional<int> amounts[3];
    for (int i = 0; i < 3; ++i) {
        amounts[i] = ParseFlooredAmount(boxes[i]);
        if (!amounts[i]) {
            Tell(game, "整数を入力してください");
            return false;
        }
    }
    int troops = *amounts[0];
    int food = *amounts[1];
    int gold = *amounts[2];
    // A negative amount would move goods backwards, from the destination into this city.
    if (troops < 0 || food < 0 || gold < 0) {
        Tell(game, "0以上の数を入力してください");
        return false;
    }

    City& s = game.Cities[city];
    City& t = game.Cities[target];
    if (s.Troops < troops) {
        Tell(game, "兵が足りません");
        return false;
    }
    troops = FitUnderLimit(t.Troops, troops, kMaxValue);
    if (s.Food < food) {
        Tell(game, "食料が足りません");
        return false;
    }
    food = FitUnderLimit(t.Food, food, kMaxValue);
    if (s.Gold < gold) {
        Tell(game, "金が足りません");
        return false;
    }
    gold = FitUnderLimit(t.Gold, gold, kMaxValue);
    if (troops <= 0 && food <= 0 && gold <= 0) {
        Tell(game, "どれかは1以上の数字を入力してください(0ならキャンセルを)");
        return false;
    }

    MoveBetweenCities(game, city, target, {troops, food, gold});

    RefreshCity(game, city);
    RefreshCity(game, target);
    Tell(game, s.Name + "から" + t.Name + "へ " + "\r" + "兵[" + Str(troops) + "]" + "\r" + "食料[" + Str(food) + "]" +
                   "\r" + "金[" + Str(gold) + "]移動しました");
    return true;
}

}  // namespace tarvex
