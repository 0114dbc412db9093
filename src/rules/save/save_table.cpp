// The save file's values in file order, with what each may be on loading.
#include "rules/save/save_table.h"

#include "rules/economy/market.h"
#include "rules/save/savefile.h"
#include "rules/turn/cycle.h"
#include "rules/turn/messages.h"
#include "rules/world/numbers.h"

namespace tarvex {

namespace {

// ---- What the game's values may be -------------------------------------------

// Every rule keeps a city's values within 0..999, and only such a game can be
// played on and saved again: a file holding more would soon compute amounts the
// writer must refuse.
constexpr long long kCityValueLow = 0;
constexpr long long kCityValueHigh = kMaxValue;
// Battle counts grow by one a battle; the computer adds five of them up.
constexpr long long kCountHigh = 1000000;
// Far beyond any game, and far below where the next year's number would overflow.
constexpr long long kLastYear = 1000000;
// What a writer may put for a wait lies within these.
constexpr double kWaitHighest = 100.0;

constexpr const char* kPolicies[] = {"戦争", "内政", "普通"};
constexpr const char* kStances[] = {"慎重", "猛進", "普通"};
constexpr const char* kBestTactics[] = {"通常", "包囲", "突撃", "射撃"};

// ---- How a table entry is made ---------------------------------------------------

using Place = SavePlace (*)(World& world, int item, int k);

constexpr SaveValue Long(const char* name, Place place, long long low, long long high) {
    return {.kind = SaveKind::Long, .name = name, .place = place, .low = low, .high = high};
}
constexpr SaveValue OwnNumber(const char* name, Place place) {
    return {.kind = SaveKind::Long, .name = name, .place = place, .ownNumber = true};
}
constexpr SaveValue Double(const char* name, Place place, double lowest, double highest) {
    return {.kind = SaveKind::Double, .name = name, .place = place, .lowest = lowest, .highest = highest};
}
constexpr SaveValue Text(const char* name, Place place) {
    return {.kind = SaveKind::Text, .name = name, .place = place};
}
constexpr SaveValue Choice(const char* name, Place place, std::span<const char* const> choices) {
    return {.kind = SaveKind::Choice, .name = name, .place = place, .choices = choices};
}
// One of a few decimal numbers; what a writer may have put for them lies within [lowest, highest].
constexpr SaveValue Wait(const char* name, Place place, double lowest, double highest, std::span<const double> waits) {
    return {.kind = SaveKind::Wait, .name = name, .place = place, .lowest = lowest, .highest = highest, .waits = waits};
}
constexpr SaveValue Flag(const char* name, Place place) {
    return {.kind = SaveKind::Flag, .name = name, .place = place};
}
// `count` like values in a row, labelled name + number + after.
constexpr SaveValue Run(SaveValue value, int count, const char* after = "") {
    value.count = count;
    value.after = after;
    return value;
}

// ---- The tables -------------------------------------------------------------------
// One saved value a line, as the file has them.
// clang-format off

// The calendar, the market and the settings, before the cities.
constexpr SaveValue kWorldValues[] = {
    Long("年", [](World& w, int, int) -> SavePlace { return &w.Year; }, 1, kLastYear),
    Run(Text("季節名", [](World& w, int, int s) -> SavePlace { return &w.SeasonNames[s]; }), 4),
    Long("季節", [](World& w, int, int) -> SavePlace { return &w.Season; }, 1, 4),
    // Zero whenever the game rests; any other value would hold the seasons still for good.
    Long("季節の進行中", [](World& w, int, int) -> SavePlace { return &w.AdvanceGuard; }, 0, 0),
    Text("タイトル", [](World& w, int, int) -> SavePlace { return &w.Title; }),
    Double("食料の相場", [](World& w, int, int) -> SavePlace { return &w.FoodPrice; }, kFoodPriceLowest,
           kFoodPriceHighest),
    Double("武器の相場", [](World& w, int, int) -> SavePlace { return &w.ArmsPrice; }, kArmsPriceLowest,
           kArmsPriceHighest),
    Double("兵の相場", [](World& w, int, int) -> SavePlace { return &w.TroopsPrice; }, kTroopsPriceLowest,
           kTroopsPriceHighest),
    Flag("設定待ち", [](World& w, int, int) -> SavePlace { return &w.SettingsPending; }),
    Text("設定の国名", [](World& w, int, int) -> SavePlace { return &w.NationChoice; }),
    Long("メッセージの速さ", [](World& w, int, int) -> SavePlace { return &w.MessageSpeed; }, 0, 3),
    Long("Enterで進める設定", [](World& w, int, int) -> SavePlace { return &w.EnterAdvanceSetting; }, 0, 1),
    // The guard once more, after the settings.
    Long("季節の進行中", [](World& w, int, int) -> SavePlace { return &w.AdvanceGuard; }, 0, 0),
};

// One city; the table is applied to cities 1..75.
constexpr SaveValue kCityValues[] = {
    OwnNumber("番号", [](World& w, int i, int) -> SavePlace { return &w.Cities[i].Id; }),
    Text("名前", [](World& w, int i, int) -> SavePlace { return &w.Cities[i].Name; }),
    Text("領主", [](World& w, int i, int) -> SavePlace { return &w.Cities[i].Owner; }),
    Long("国力", [](World& w, int i, int) -> SavePlace { return &w.Cities[i].Power; }, kCityValueLow, kCityValueHigh),
    Long("町", [](World& w, int i, int) -> SavePlace { return &w.Cities[i].Town; }, kCityValueLow, kCityValueHigh),
    Long("城", [](World& w, int i, int) -> SavePlace { return &w.Cities[i].Castle; }, kCityValueLow, kCityValueHigh),
    Long("食料", [](World& w, int i, int) -> SavePlace { return &w.Cities[i].Food; }, kCityValueLow, kCityValueHigh),
    Long("金", [](World& w, int i, int) -> SavePlace { return &w.Cities[i].Gold; }, kCityValueLow, kCityValueHigh),
    Long("兵", [](World& w, int i, int) -> SavePlace { return &w.Cities[i].Troops; }, kCityValueLow, kCityValueHigh),
    Long("武装", [](World& w, int i, int) -> SavePlace { return &w.Cities[i].Arms; }, kCityValueLow, kCityValueHigh),
    Long("民度", [](World& w, int i, int) -> SavePlace { return &w.Cities[i].Civility; }, kCityValueLow,
         kCityValueHigh),
};

// One nation; the table is applied to nations 1..34.
constexpr SaveValue kNationValues[] = {
    OwnNumber("番号", [](World& w, int n, int) -> SavePlace { return &w.Nations[n].Id; }),
    Text("名前", [](World& w, int n, int) -> SavePlace { return &w.Nations[n].Name; }),
    Choice("方針", [](World& w, int n, int) -> SavePlace { return &w.Nations[n].Policy; }, kPolicies),
    Choice("性格", [](World& w, int n, int) -> SavePlace { return &w.Nations[n].Stance; }, kStances),
    Choice("得意戦術", [](World& w, int n, int) -> SavePlace { return &w.Nations[n].BestTactic; }, kBestTactics),
    Long("勝ち数", [](World& w, int n, int) -> SavePlace { return &w.Nations[n].Wins; }, 0, kCountHigh),
    Long("負け数", [](World& w, int n, int) -> SavePlace { return &w.Nations[n].Losses; }, 0, kCountHigh),
    Run(Long("戦術", [](World& w, int n, int t) -> SavePlace { return &w.Nations[n].TacticCount[t]; }, 0, kCountHigh),
        kTacticCount, "の回数"),
};

// Where the season's turn stands, after the nations.
constexpr SaveValue kTurnValues[] = {
    // 0 throughout until the season's first step draws the order.
    Run(Long("手番", [](World& w, int, int i) -> SavePlace { return &w.TurnOrder[i]; }, 0, kCityCount), kCityCount),
    Text("プレイヤーの国", [](World& w, int, int) -> SavePlace { return &w.PlayerNation; }),
    Long("手番の都市", [](World& w, int, int) -> SavePlace { return &w.CurrentCity; }, 1, kCityCount),
    // 0 before the player's first order, 1..9 the orders, 10 "do nothing".
    Long("命令の種類", [](World& w, int, int) -> SavePlace { return &w.CommandKind; }, 0, kDoNothing),
    Long("候補の数", [](World& w, int, int) -> SavePlace { return &w.TargetCount; }, 0, kCityCount),
    Run(Long("候補", [](World& w, int, int i) -> SavePlace { return &w.TargetList[i - 1]; }, 0, kCityCount),
        kCityCount),
    Wait("メッセージの表示時間", [](World& w, int, int) -> SavePlace { return &w.MessageWait; }, 0, kWaitHighest,
         kMessageWaits),
    Flag("自動で進める", [](World& w, int, int) -> SavePlace { return &w.AutoAdvance; }),
    Flag("Enterで進める", [](World& w, int, int) -> SavePlace { return &w.EnterAdvance; }),
    Flag("進行可", [](World& w, int, int) -> SavePlace { return &w.AdvanceReady; }),
    Flag("命令済み", [](World& w, int, int) -> SavePlace { return &w.PlayerActed; }),
    Flag("プレイヤーの番", [](World& w, int, int) -> SavePlace { return &w.PlayerTurn; }),
    Flag("ターンのはじめ", [](World& w, int, int) -> SavePlace { return &w.TurnStart; }),
    Run(Flag("都市", [](World& w, int, int i) -> SavePlace { return &w.Delegated[i]; }), kCityCount, "の委任"),
};

// clang-format on

constexpr SaveTable kFile[] = {
    {"", 1, kWorldValues},
    {"都市", kCityCount, kCityValues},
    {"国家", kNationCount, kNationValues},
    {"", 1, kTurnValues},
};

constexpr int LineCount() {
    int lines = 0;
    for (const SaveTable& table : kFile)
        for (const SaveValue& value : table.values) lines += table.items * value.count;
    return lines;
}
static_assert(LineCount() == kSaveLineCount, "the tables must hold every value of the file");

}  // namespace

std::span<const SaveTable> SaveTables() { return kFile; }

std::string ChoiceText(const SavePlace& place) {
    return std::visit(
        [](auto* value) -> std::string {
            if constexpr (requires { value->Text(); }) return value->Text();
            return {};
        },
        place);
}

void SetChoice(const SavePlace& place, const std::string& text) {
    std::visit(
        [&text](auto* value) {
            if constexpr (requires { value->Text(); }) *value = text;
        },
        place);
}

std::string SaveLine::Label() const {
    std::string label;
    if (*table.itemName) label = table.itemName + Str(item) + "の";
    label += value.name;
    if (value.count > 1) label += Str(k);
    label += value.after;
    return label;
}

}  // namespace tarvex
