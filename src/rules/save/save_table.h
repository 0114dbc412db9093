// The values of the save file "Game.dt", each described once: how it is written,
// where it lives in the world, how the player is told of it and what may load.
// The writer and the reader both walk these tables, so they cannot drift apart.
#pragma once

#include <span>
#include <string>
#include <variant>

#include "rules/world/game.h"

namespace tarvex {

// How a value stands on its line.
enum class SaveKind {
    Long,    // a whole number within [low, high]
    Double,  // a decimal number within [lowest, highest]
    Wait,    // a decimal number, one of `waits`
    Text,    // a quoted text
    Choice,  // a quoted text, one of `choices`; held as a nation's word
    Flag,    // #TRUE# or #FALSE#
};

// Where a value lives in the saved world.
using SavePlace = std::variant<int*, double*, bool*, std::string*, NationWord<PolicyKind>*, NationWord<StanceKind>*,
                               NationWord<TacticKind>*>;
// A choice's word as the file writes it, and a checked word of the file put in its place.
std::string ChoiceText(const SavePlace& place);
void SetChoice(const SavePlace& place, const std::string& text);

// One value of a saved structure, or a run of `count` like values (the season
// names, the turn order). A value's label is its name, a run's number and `after`:
// "季節名2", "戦術4の回数"; within a city or a nation the label begins "都市3の".
struct SaveValue {
    SaveKind kind;
    const char* name;
    // Its place: `item` is the city or nation (1 outside them), `k` the number in the run from 1.
    SavePlace (*place)(World& world, int item, int k);
    int count = 1;
    const char* after = "";
    long long low = 0;
    long long high = 0;
    // A city's or a nation's number: it must be its own place in the table.
    bool ownNumber = false;
    double lowest = 0;
    double highest = 0;
    std::span<const double> waits = {};
    std::span<const char* const> choices = {};
};

// A saved structure: its values in file order, once for the world or once for
// each city or nation ("都市", "国家").
struct SaveTable {
    const char* itemName;
    int items;
    std::span<const SaveValue> values;
};

// The whole file, table after table.
std::span<const SaveTable> SaveTables();

// One line of the file: a value of a table, for one city or nation, at one
// number of its run.
struct SaveLine {
    const SaveTable& table;
    const SaveValue& value;
    int item;
    int k;

    SavePlace Place(World& world) const { return value.place(world, item, k); }
    // The value's name in messages to the player: "都市3の名前", "手番5".
    std::string Label() const;
    // The range a whole number must lie in on loading.
    long long Low() const { return value.ownNumber ? item : value.low; }
    long long High() const { return value.ownNumber ? item : value.high; }
};

// Calls visit(line) for each line of the file, in order.
template <class Visit>
void ForEachSaveLine(Visit&& visit) {
    for (const SaveTable& table : SaveTables())
        for (int item = 1; item <= table.items; ++item)
            for (const SaveValue& value : table.values)
                for (int k = 1; k <= value.count; ++k) visit(SaveLine{table, value, item, k});
}

}  // namespace tarvex
