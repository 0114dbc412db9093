// Recording how the war went: what happened, season by season, and how many
// cities and troops each nation held at each season's start. Kept beside the
// game, never in its save file; recording it changes nothing in the game.
#pragma once

#include <string>
#include <vector>

#include "rules/chronicle/record.h"
#include "rules/world/game.h"

namespace tarvex {

// Records a city taken from one nation (`from`, owner index `fromIndex`) by its
// owner now (by battle, or by an event named in `cause`), and the fall of the
// loser when it holds no city any more. Call after the owner has changed.
void RecordConquest(Game& game, int city, const std::string& from, int fromIndex, const std::string& cause);
// Records any other entry at the current year and season.
void RecordEntry(Game& game, EntryKind kind, std::string text, std::vector<int> cities, std::vector<int> nations);
// Records the nations' cities and troops now, as the current season's row (replacing one already there).
void RecordSeasonStart(Game& game);
// Starts the record again from the game as it stands: no entries, one season row.
void RestartChronicle(Game& game);

}  // namespace tarvex
