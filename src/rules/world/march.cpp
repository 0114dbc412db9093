// Troops, food and gold marching from one city to another.
#include "rules/world/march.h"

#include <algorithm>

#include "rules/world/numbers.h"

namespace tarvex {

int FitUnderLimit(int current, int amount, int limit) {
    if (static_cast<long long>(current) + amount <= limit) return amount;
    // A value already past the limit takes nothing more; it is never lowered here.
    return current >= limit ? 0 : limit - current;
}

void MergeArmament(City& from, City& to, int stayed, int came) {
    from.Arms = std::max(from.Arms, 1);
    to.Arms = std::max(to.Arms, 1);
    const int total = stayed + came;
    if (total <= 0) return;
    to.Arms = Nearest((static_cast<double>(stayed) * to.Arms + static_cast<double>(came) * from.Arms) / total);
}

void MoveBetweenCities(Game& game, int from, int to, const Shipment& sent) {
    City& s = game.Cities[from];
    City& t = game.Cities[to];
    s.Troops -= sent.troops;
    t.Troops += sent.troops;
    s.Food -= sent.food;
    t.Food += sent.food;
    s.Gold -= sent.gold;
    t.Gold += sent.gold;
    // The armament follows the soldiers only while some stay behind; into an
    // empty city, the city takes the marchers' armament.
    if (s.Troops > 0 && t.Troops > 0) MergeArmament(s, t, t.Troops - sent.troops, sent.troops);
    if (t.Troops <= 0) t.Arms = s.Arms;
}

}  // namespace tarvex
