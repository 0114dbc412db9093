// The game object's construction and the lookups every rule uses.
#include "rules/world/game.h"

#include "rules/port/random.h"
#include "rules/port/screen.h"

namespace tarvex {

namespace {
NullScreen& DefaultScreen() {
    static NullScreen screen;
    return screen;
}
MersenneRandom& DefaultRandom() {
    static MersenneRandom random(1);
    return random;
}

}  // namespace

Game::Game() : Game(DefaultScreen(), DefaultRandom()) {}

Game::Game(Screen& s, RandomSource& r) : screen(&s), random(&r) {
    // Before a new game or a file every owner and every nation has the empty name;
    // the owners' numbers follow the names from the start.
    RefreshOwnerIndices(*this);
}

int NationIndex(const Game& game, const std::string& name) {
    for (int n = 1; n <= kNationCount; ++n)
        if (game.Nations[n].Name == name) return n;
    return 0;
}

void SetOwner(Game& game, int city, const std::string& owner) {
    City& c = game.Cities[city];
    c.Owner = owner;
    c.OwnerIndex = NationIndex(game, owner);
}

void SetOwnerAs(Game& game, int city, int other) {
    City& c = game.Cities[city];
    const City& o = game.Cities[other];
    c.Owner = o.Owner;
    c.OwnerIndex = o.OwnerIndex;
}

void RefreshOwnerIndices(Game& game) {
    for (int i = 1; i <= kCityCount; ++i) game.Cities[i].OwnerIndex = NationIndex(game, game.Cities[i].Owner);
}

bool IsPlayers(const Game& game, int city) { return game.Cities[city].Owner == game.PlayerNation; }

bool IsPlayerRun(const Game& game, int city) { return IsPlayers(game, city) && !game.Delegated[city]; }

}  // namespace tarvex
