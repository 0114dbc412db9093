// The order "1.移動": troops, food and gold to a neighbouring city of the same owner.
#include "commands/move.h"

#include <algorithm>
#include <optional>

#include "state/numbers.h"
#include "state/refresh.h"
#include "state/scenario.h"
#include "state/screen.h"

namespace tarvex {

namespace {

void Tell(Game& game, const std::string& text) { game.screen->Message(game, text, ""); }

}  // namespace

bool PrepareMove(Game& game, int city) {
    MainWindowShown& main = game.shown.main;
    main.txtPic6 = {"0", "0", "0"};
    game.TargetCount = 0;
    main.lstPic6.clear();
    main.lstPic6Selected = -1;
    if (city < 1 || city > kCityCount) return false;
    const City& source = game.Cities[city];
    for (int j = 1; j <= kCityCount; ++j) {
        if (j == city || !IsNeighbour(city, j) || game.Cities[j].Owner != source.Owner) continue;
        game.TargetList[game.TargetCount++] = j;
        main.lstPic6.push_back(game.Cities[j].Name);
    }
    if (game.TargetCount == 0) {
        Tell(game, "隣に味方の領土がありません");
        return false;
    }
    main.lstPic6Selected = 0;
    main.txtPic6 = {Str(source.Troops), Str(source.Food), Str(source.Gold)};
    return true;
}

int FitToDestination(int amount, int value) {
    if (value >= kMaxValue) return 0;
    if (static_cast<long long>(value) + amount <= kMaxValue) return amount;
    return kMaxValue - value;
}

int SelectedTarget(const Game& game) {
    const MainWindowShown& main = game.shown.main;
    const int selected = main.lstPic6Selected;
    if (selected < 0 || selected >= static_cast<int>(main.lstPic6.size())) return 0;
    const std::string& name = main.lstPic6[selected];
    for (int city = 1; city <= kCityCount; ++city)
        if (game.Cities[city].Name == name) return city;
    return 0;
}

bool ExecuteMove(Game& game, int city) {
    if (city < 1 || city > kCityCount) return false;
    const int target = SelectedTarget(game);
    // Without a chosen destination the goods would go nowhere and be lost.
    if (target == 0 || target == city) {
        Tell(game, "移動先を選んでください");
        return false;
    }
    const auto& boxes = game.shown.main.txtPic6;
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
    troops = FitToDestination(troops, t.Troops);
    if (s.Food < food) {
        Tell(game, "食料が足りません");
        return false;
    }
    food = FitToDestination(food, t.Food);
    if (s.Gold < gold) {
        Tell(game, "金が足りません");
        return false;
    }
    gold = FitToDestination(gold, t.Gold);
    if (troops <= 0 && food <= 0 && gold <= 0) {
        Tell(game, "どれかは1以上の数字を入力してください(0ならキャンセルを)");
        return false;
    }

    s.Troops -= troops;
    t.Troops += troops;
    s.Food -= food;
    t.Food += food;
    s.Gold -= gold;
    t.Gold += gold;

    // The soldiers carry their weapons: the destination's armament becomes the
    // troop-weighted average, as long as some soldiers stay behind.
    if (s.Troops > 0 && t.Troops > 0) {
        s.Arms = std::max(s.Arms, 1);
        t.Arms = std::max(t.Arms, 1);
        t.Arms = Nearest((static_cast<double>(t.Troops - troops) * t.Arms + static_cast<double>(troops) * s.Arms) /
                         t.Troops);
    }
    if (t.Troops <= 0) t.Arms = s.Arms;

    RefreshCity(game, city);
    if (game.Ended) return true;
    RefreshCity(game, target);
    if (game.Ended) return true;
    Tell(game, s.Name + "から" + t.Name + "へ " + "\r" + "兵[" + Str(troops) + "]" + "\r" + "食料[" + Str(food) + "]" +
                   "\r" + "金[" + Str(gold) + "]移動しました");
    return true;
}

}  // namespace tarvex
