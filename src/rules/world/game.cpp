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

Game::Game(Screen& s, RandomSource& r) : screen(&s), random(&r) {}

Nation* NationOf(Game& game, int city) {
    const std::string& owner = game.Cities[city].Owner;
    for (int n = 1; n <= kNationCount; ++n)
        if (game.Nations[n].Name == owner) return &game.Nations[n];
    return nullptr;
}

const Nation* NationOf(const Game& game, int city) { return NationOf(const_cast<Game&>(game), city); }

int NationIndex(const Game& game, const std::string& name) {
    for (int n = 1; n <= kNationCount; ++n)
        if (game.Nations[n].Name == name) return n;
    return 0;
}

bool IsPlayers(const Game& game, int city) { return game.Cities[city].Owner == game.PlayerNation; }

bool IsPlayerRun(const Game& game, int city) { return IsPlayers(game, city) && !game.Delegated[city]; }

double Rnd(Game& game) { return game.random->Next(); }

}  // namespace tarvex
