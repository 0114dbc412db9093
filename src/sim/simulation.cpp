// Computer-only games without windows: the engine behind tarvex-sim.
#include "sim/simulation.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <iostream>
#include <limits>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

#include "rules/ai/bot.h"
#include "rules/chronicle/chronicle.h"
#include "rules/chronicle/chronicle_file.h"
#include "rules/port/random.h"
#include "rules/port/screen.h"
#include "rules/save/files.h"
#include "rules/save/savefile.h"
#include "rules/turn/cycle.h"
#include "rules/turn/messages.h"
#include "rules/turn/step.h"
#include "rules/world/newgame.h"
#include "rules/world/numbers.h"
#include "sim/protocol.h"

namespace tarvex::sim {

namespace {

struct RandomExhausted {};

// Draws read from a file, one number in [0, 1) per line, in order.
class FileRandom : public RandomSource {
public:
    explicit FileRandom(std::vector<double> values) : values_(std::move(values)) {}
    double Next() override {
        if (next_ >= values_.size()) throw RandomExhausted{};
        return values_[next_++];
    }
    std::size_t Used() const { return next_; }

private:
    std::vector<double> values_;
    std::size_t next_ = 0;
};

// Prints what the game shows, one line per posting, box or event line; keeps them
// for a protocol player's next request; lets a player policy fight his battles.
class LogScreen : public NullScreen {
public:
    LogScreen(std::ostream& out, bool log, std::string savePath, PostedLines* posted = nullptr)
        : out_(out), log_(log), savePath_(std::move(savePath)), posted_(posted) {}

    PlayerPolicy* policy = nullptr;
    bool gone = false;  // the policy has given no more decisions

    void RunBattleScreen(Game& game) override {
        if (!policy) return NullScreen::RunBattleScreen(game);
        if (!FightBattleBy(game, *policy)) gone = true;
    }

    void Message(Game& game, const std::string& text, const std::string&) override { Print(game, "BOX", text); }
    Answer Ask(Game& game, const Question& q) override {
        Print(game, "BOX", q.text);
        return Answer::Ok;
    }
    void Hold(Game& game, int line, double) override {
        static const char* kinds[] = {"L1", "L2", "L3"};
        Print(game, kinds[line - 1], game.Lines[line - 1].text);
    }
    bool ShowsLines() const override { return log_ || posted_; }
    void RunEventWindow(Game& game) override {
        for (const std::string& line : game.EventLines) Print(game, "EV", line);
    }
    std::string SaveFilePath(Game&) override { return savePath_; }

private:
    void Print(const Game& game, const char* kind, const std::string& text) {
        if (posted_) posted_->lines.emplace_back(kind, text);
        if (!log_) return;
        out_ << game.Year << '.' << game.Season << ' ' << kind << ' ';
        for (char c : text) {
            if (c == '\n')
                out_ << "\\n";
            else if (c == '\r')
                out_ << "\\r";
            else
                out_ << c;
        }
        out_ << '\n';
    }
    std::ostream& out_;
    bool log_;
    std::string savePath_;
    PostedLines* posted_;
};

// A draws file may be long (a number a line for every draw of a long game), but not endless.
constexpr std::size_t kMaxDrawsBytes = std::size_t{1} << 30;

std::optional<std::vector<double>> ReadDraws(const std::string& path, std::string& error) {
    std::string bytes;
    if (auto problem = ReadRegularFile(path, kMaxDrawsBytes, bytes)) {
        error = "cannot read " + path + ": " + *problem;
        return std::nullopt;
    }
    std::vector<double> values;
    std::istringstream lines(bytes);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos) continue;  // blank lines carry no draw
        double v = 0;
        const char* first = line.data() + start;
        const char* last = line.data() + line.size();
        auto [ptr, ec] = std::from_chars(first, last, v);
        if (ec != std::errc() || ptr != last || !(v >= 0.0 && v < 1.0)) {
            error.append(path).append(":").append(std::to_string(number));
            error.append(": not a number in [0, 1): ").append(line);
            return std::nullopt;
        }
        values.push_back(v);
    }
    return values;
}

void PrintSummary(const Game& game, std::ostream& out, const std::string& unifier) {
    out << "year " << game.Year << " season " << game.Season << " (" << SeasonCaption(game) << ")\n";
    out << "unified: " << (unifier.empty() ? "-" : unifier) << '\n';
    for (int n = 1; n <= kNationCount; ++n) {
        const Nation& nation = game.Nations[n];
        int cities = 0;
        for (int c = 1; c <= kCityCount; ++c)
            if (game.Cities[c].Owner == nation.Name) ++cities;
        out << nation.Name << " cities " << cities << " wins " << nation.Wins << " losses " << nation.Losses << '\n';
    }
}

int CitiesOf(const Game& game, const std::string& nation) {
    int cities = 0;
    for (int c = 1; c <= kCityCount; ++c)
        if (game.Cities[c].Owner == nation) ++cities;
    return cities;
}

std::string Unifier(const Game& game) {
    for (int c = 2; c <= kCityCount; ++c)
        if (game.Cities[c].Owner != game.Cities[1].Owner) return {};
    return game.Cities[1].Owner;
}

}  // namespace

std::optional<std::string> CheckInvariants(const Game& game, bool turnOrderBuilt) {
    for (int c = 1; c <= kCityCount; ++c) {
        const City& city = game.Cities[c];
        const std::array<std::pair<const char*, int>, 8> values{{{"Power", city.Power},
                                                                 {"Town", city.Town},
                                                                 {"Castle", city.Castle},
                                                                 {"Food", city.Food},
                                                                 {"Gold", city.Gold},
                                                                 {"Troops", city.Troops},
                                                                 {"Arms", city.Arms},
                                                                 {"Civility", city.Civility}}};
        for (const auto& [name, value] : values)
            if (value < 0 || value > kMaxValue)
                return "city " + std::to_string(c) + " " + city.Name + ": " + name + " = " + std::to_string(value);
        const int owner = NationIndex(game, city.Owner);
        if (owner == 0) return "city " + std::to_string(c) + " " + city.Name + ": owner names no nation: " + city.Owner;
        if (city.OwnerIndex != owner)
            return "city " + std::to_string(c) + " " + city.Name + ": owner index " + std::to_string(city.OwnerIndex) +
                   " is not that of " + city.Owner;
    }
    if (turnOrderBuilt) {
        std::array<bool, kCityCount + 1> seen{};
        for (int i = 1; i <= kCityCount; ++i) {
            const int c = game.TurnOrder[i];
            if (c < 1 || c > kCityCount || seen[c])
                return "TurnOrder is not a permutation (position " + std::to_string(i) + ")";
            seen[c] = true;
        }
    }
    long long wins = 0, losses = 0, tactics = 0;
    for (int n = 1; n <= kNationCount; ++n) {
        wins += game.Nations[n].Wins;
        losses += game.Nations[n].Losses;
        for (int t = 1; t <= kTacticCount; ++t) tactics += game.Nations[n].TacticCount[t];
    }
    if (wins != losses || tactics != 2 * wins)
        return "battle records do not add up: wins " + std::to_string(wins) + ", losses " + std::to_string(losses) +
               ", tactic counts " + std::to_string(tactics);
    return std::nullopt;
}

int Run(const Options& options, std::ostream& out, std::ostream& err) {
    std::istringstream none;
    return Run(options, none, out, err);
}

namespace {

// Who decides for the player's nation: a program over the protocol, the bot, a
// replayed record, or nobody (the computer plays every nation); recorded when asked.
struct Deciders {
    std::unique_ptr<PlayerPolicy> player;
    std::unique_ptr<LinePolicy> program;
    std::ofstream recordStream;
    std::optional<RecordingPolicy> recording;
    PlayerPolicy* policy = nullptr;
};

// The run's status when it must stop there; nothing when it goes on.
using Stop = std::optional<int>;

Stop ChooseDeciders(const Options& options, std::istream& in, std::ostream& out, PostedLines& posted, std::ostream& err,
                    Deciders& d) {
    if (options.protocol) {
        d.program = std::make_unique<LinePolicy>(in, out, posted);
    } else if (options.bot) {
        d.player = std::make_unique<BotPlayer>();
    } else if (!options.replayFile.empty()) {
        std::string text, error;
        if (auto problem = ReadRegularFile(options.replayFile, kMaxDrawsBytes, text)) {
            err << "tarvex-sim: cannot read " << options.replayFile << ": " << *problem << '\n';
            return 2;
        }
        auto decisions = ReadRecord(text, error);
        if (!decisions) {
            err << "tarvex-sim: " << options.replayFile << ": " << error << '\n';
            return 2;
        }
        d.player = std::make_unique<ReplayPolicy>(std::move(*decisions));
    }
    d.policy = d.program ? d.program.get() : d.player.get();
    if (d.policy && !options.recordFile.empty()) {
        d.recordStream.open(options.recordFile, std::ios::binary | std::ios::trunc);
        if (!d.recordStream) {
            err << "tarvex-sim: cannot write " << options.recordFile << '\n';
            return 2;
        }
        d.recording.emplace(*d.policy, d.recordStream);
        d.recording->Header(options.player, options.seed, options.years);
        d.policy = &*d.recording;
    }
    return std::nullopt;
}

void BeginNewGame(const Options& options, Game& game) {
    game.PlayerNation = options.player.empty() ? "*" : options.player;
    game.NationChoice = game.PlayerNation;
    game.SettingsPending = false;
    game.AutoAdvance = true;
    NewGame(game);
    ShowMsg(game, Str(game.Year) + "年目、春です");
}

Stop LoadGame(const Options& options, Game& game, const PlayerPolicy* policy, std::ostream& err) {
    // The save and the chronicle beside it, read as one pair under the save's lock.
    ChronicleLoad history;
    if (auto problem = ReadSavePair(options.loadFile, game, options.restartChronicle, history)) {
        err << "tarvex-sim: " << options.loadFile << ": " << *problem << '\n';
        return 2;
    }
    // The chronicle goes on from the one saved beside the game; one that stands
    // there unread is not silently started again (a later save would write over it).
    if (history.problem && history.found) {
        err << "tarvex-sim: " << options.loadFile << ": its chronicle cannot be read: " << *history.problem;
        if (!options.restartChronicle) {
            err << "\n(--restart-chronicle starts its history again at the loaded season)\n";
            return 2;
        }
        err << "; its history starts again at the loaded season";
        if (!history.keptAt.empty()) err << "; the unread file is kept as " << history.keptAt;
        if (history.keepProblem) err << "; " << *history.keepProblem;
        err << '\n';
    }
    if (history.strengthProblem)
        err << "tarvex-sim: " << options.loadFile << ": the computer's levels beside it cannot be read ("
            << *history.strengthProblem << "); every nation counts as level 1\n";
    // The player's own cities are handed to the computer, unless a player
    // policy takes up a nation; a game that is not played is written back as it was read.
    if (policy) {
        game.PlayerNation = options.player;
    } else if (options.years > 0) {
        for (int c = 1; c <= kCityCount; ++c)
            if (IsPlayers(game, c)) game.Delegated[c] = true;
    }
    ShowMsg(game, SeasonCaption(game) + "です");
    return std::nullopt;
}

// The player's nation named, and every nation the computer plays at the level asked.
Stop SetStrengths(const Options& options, Game& game, const PlayerPolicy* policy, std::ostream& err) {
    if (policy && NationIndex(game, options.player) == 0) {
        err << "tarvex-sim: no nation is named " << options.player << '\n';
        return 2;
    }
    // Every nation the computer plays, at the level asked; the player's own stays as it is.
    // Unasked, a new game plays at the standard level and a loaded one at its own.
    if (options.strength != 0)
        for (int n = 1; n <= kNationCount; ++n)
            if (!policy || game.Nations[n].Name != options.player) game.Strength[n] = options.strength;
    if (!options.strengthNation.empty()) {
        const int n = NationIndex(game, options.strengthNation);
        if (n == 0) {
            err << "tarvex-sim: no nation is named " << options.strengthNation << '\n';
            return 2;
        }
        game.Strength[n] = options.strengthOfNation;
    }
    return std::nullopt;
}

// How the game's playing ended.
struct Played {
    std::string unifier;
    bool wipedOut = false;
};

Stop PlayOut(const Options& options, Game& game, LogScreen& screen, PlayerPolicy* policy, std::ostream& err,
             Played& played) {
    const long long lastYear = static_cast<long long>(game.Year) + options.years;
    // A new game draws its turn order at its first step; a loaded one may not have drawn it yet either.
    bool turnOrderBuilt = std::any_of(game.TurnOrder.begin() + 1, game.TurnOrder.end(), [](int c) { return c != 0; });
    if (options.check) {
        if (auto breach = CheckInvariants(game, turnOrderBuilt)) {
            err << "tarvex-sim: check failed at the start, year " << game.Year << " season " << game.Season << ": "
                << *breach << '\n';
            return 1;
        }
    }
    played.unifier = Unifier(game);
    // Each OK step lets one city act or advances the season; a run that
    // stops advancing would be a fault of the game, not a long game.
    const long long stepLimit = (static_cast<long long>(options.years) + 1) * 4 * (kCityCount + 1) + 1000;
    for (long long steps = 0; played.unifier.empty(); ++steps) {
        if (game.TurnStep == 1 && game.Year >= lastYear) break;
        if (steps > stepLimit) {
            err << "tarvex-sim: the game stopped advancing at year " << game.Year << " season " << game.Season << '\n';
            return 1;
        }
        try {
            if (AdvanceOneStep(game) == StepResult::PlayerToOrder && policy && !PlayTurnBy(game, *policy))
                screen.gone = true;
        } catch (const ProgramEnded&) {
            // Only a unification ends a game without a window.
            played.unifier = Unifier(game);
        }
        if (screen.gone) break;
        // A player with no city left is asked nothing more: his game is over.
        if (policy && CitiesOf(game, options.player) == 0) {
            played.wipedOut = true;
            break;
        }
        if (game.TurnStep > 1) turnOrderBuilt = true;
        if (options.check) {
            if (auto breach = CheckInvariants(game, turnOrderBuilt)) {
                err << "tarvex-sim: check failed at year " << game.Year << " season " << game.Season << ", step "
                    << game.TurnStep << ": " << *breach << '\n';
                return 1;
            }
        }
    }
    return std::nullopt;
}

void Report(const Options& options, Game& game, const LogScreen& screen, const Deciders& d, const Played& played,
            std::ostream& out) {
    if (d.program)
        d.program->End(game,
                       screen.gone               ? "input_ended"
                       : played.wipedOut         ? "wiped_out"
                       : !played.unifier.empty() ? "unified"
                                                 : "years",
                       played.unifier);
    else
        PrintSummary(game, out, played.unifier);
    if (d.policy && !d.program)
        out << "player: " << options.player
            << (played.wipedOut ? " wiped out" : " holds " + std::to_string(CitiesOf(game, options.player)) + " cities")
            << '\n';
}

// The save, the chronicle's table and the seasons' table, where asked.
Stop WriteOutputs(const Options& options, Game& game, std::ostream& err) {
    if (!options.saveFile.empty()) {
        // Its chronicle goes beside it, the two as one, as the game saves them.
        bool trimmed = false;
        std::string kept;
        if (auto problem = WriteSavePair(options.saveFile, game, &trimmed, {}, &kept)) {
            err << "tarvex-sim: cannot save " << options.saveFile << ": " << *problem << '\n';
            return 2;
        }
        if (trimmed)
            err << "tarvex-sim: the chronicle beside " << options.saveFile
                << " grew past its file's limit; its oldest history was dropped\n";
        if (!kept.empty())
            err << "tarvex-sim: the chronicle beside " << options.saveFile << " could not be read; it is kept as "
                << kept << '\n';
    }
    const std::pair<const std::string&, std::string> tables[] = {
        {options.chronicleFile, options.chronicleFile.empty() ? std::string() : ChronicleTable(game.chronicle)},
        {options.statsFile, options.statsFile.empty() ? std::string() : SeasonTable(game)},
    };
    for (const auto& [file, text] : tables) {
        if (file.empty()) continue;
        if (auto problem = ReplaceFileWhole(file, text)) {
            err << "tarvex-sim: cannot write " << file << ": " << *problem << '\n';
            return 2;
        }
    }
    return std::nullopt;
}

}  // namespace

int Run(const Options& options, std::istream& in, std::ostream& out, std::ostream& err) {
    MersenneRandom mersenne(options.seed);
    std::optional<FileRandom> fileRandom;
    if (!options.randomFile.empty()) {
        std::string error;
        auto draws = ReadDraws(options.randomFile, error);
        if (!draws) {
            err << "tarvex-sim: " << error << '\n';
            return 2;
        }
        fileRandom.emplace(std::move(*draws));
    }
    RandomSource& random = fileRandom ? static_cast<RandomSource&>(*fileRandom) : mersenne;
    // Standard output carries the protocol's lines: the log goes to standard error then.
    PostedLines posted;
    LogScreen screen(options.protocol ? err : out, options.log, options.saveFile, options.protocol ? &posted : nullptr);
    Deciders deciders;
    if (Stop stop = ChooseDeciders(options, in, out, posted, err, deciders)) return *stop;
    PlayerPolicy* policy = deciders.policy;
    screen.policy = policy;
    // The game is driven step by step as the OK button drives it, without a window.
    Game game(screen, random);
    // The log screen holds no posting, whatever MessageWait says.
    try {
        if (options.loadFile.empty()) {
            BeginNewGame(options, game);
        } else if (Stop stop = LoadGame(options, game, policy, err)) {
            return *stop;
        }
        if (Stop stop = SetStrengths(options, game, policy, err)) return *stop;
        if (deciders.program) deciders.program->Hello(options.player, options.seed);
        Played played;
        if (Stop stop = PlayOut(options, game, screen, policy, err, played)) return *stop;
        Report(options, game, screen, deciders, played, out);
        if (Stop stop = WriteOutputs(options, game, err)) return *stop;
        // Decisions that ended before the game: the position is kept, the run reports it.
        if (screen.gone) {
            err << "tarvex-sim: the player's decisions ended at year " << game.Year << " season " << game.Season
                << '\n';
            return 4;
        }
    } catch (const RandomExhausted&) {
        out.flush();
        err << "tarvex-sim: the random numbers of " << options.randomFile << " ran out after " << fileRandom->Used()
            << " draws\n";
        return 3;
    }
    return 0;
}

namespace {

constexpr int kMostYears = 1000000;

constexpr const char* kUsage =
    "usage: tarvex-sim [--years N] [--seed S] [--load FILE] [--save FILE] [--log] [--check]\n"
    "                  [--random-from FILE] [--chronicle FILE] [--stats FILE]\n"
    "                  [--player NATION (--protocol | --replay FILE) | --bot NATION] [--record FILE]\n"
    "                  [--strength N] [--strength-of NATION=N] [--restart-chronicle]\n"
    "\n"
    "Plays a computer-only game of Tarvex at full speed and prints a summary.\n"
    "\n"
    "  --years N            play until N years have passed (default 100) or one nation\n"
    "                       has unified the map; 0 plays nothing: with --load, --check\n"
    "                       and --save it checks a save file and writes it again\n"
    "  --seed S             seed of the random generator, 0 to 18446744073709551615\n"
    "                       (default 1)\n"
    "  --load FILE          start from a save file; the player's cities are handed to\n"
    "                       the computer, which plays at the levels kept beside it\n"
    "  --save FILE          write the final state as a save file (at a season start),\n"
    "                       its chronicle beside it (FILE.dt: FILE.chronicle), and\n"
    "                       the computer's levels when one is not 1 (FILE.strength)\n"
    "  --log                print every message line, message box and event line in order\n"
    "  --check              verify the game's invariants after every step; a breach\n"
    "                       prints what and where and exits with status 1\n"
    "  --restart-chronicle  with --load, when the chronicle beside the save cannot be\n"
    "                       read: move it aside (FILE.chronicle.damaged) and start the\n"
    "                       history at the loaded season, instead of stopping (status 2)\n"
    "  --random-from FILE   take every random draw from FILE (one number in [0, 1) per\n"
    "                       line); running out stops the run with status 3\n"
    "  --chronicle FILE     write the chronicle of the game played: one entry a line,\n"
    "                       tab-separated: year, season (1-4), kind, text\n"
    "  --stats FILE         write one CSV row per season start: year, season (1-4), then\n"
    "                       the cities each nation holds, its name as the column's header\n"
    "  --player NATION      a player commands NATION (every other nation is the\n"
    "                       computer's): with --protocol a program on standard input\n"
    "                       and output, with --replay the decisions of a record; the\n"
    "                       game stops when he holds no city any more\n"
    "  --protocol           speak the line protocol (JSON Lines, docs/protocol.md) for\n"
    "                       the player; --log then goes to standard error\n"
    "  --bot NATION         the bot commands NATION\n"
    "  --record FILE        write every decision of the player to FILE\n"
    "  --replay FILE        take the player's decisions from a record\n"
    "  --strength N         how well the computer plays every nation it commands:\n"
    "                       1 the standard computer (default), 2 strong, 3 strongest;\n"
    "                       with --load, over the levels kept beside the save\n"
    "  --strength-of NATION=N\n"
    "                       the same for NATION alone, over --strength\n"
    "  --help               this text\n"
    "\n"
    "Each option may be given once.\n"
    "\n"
    "Exit status: 0 done, 1 invariant broken, 2 bad arguments, or a file or the\n"
    "output that could not be read or written, 3 random numbers ran out, 4 the\n"
    "player's decisions ended before the game (the position is saved with --save).\n";

// A whole number in plain decimal digits only: no sign, no blanks, nothing empty.
template <class Number>
bool ParseWhole(const std::string& text, Number min, Number max, Number& out) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max) return false;
    out = value;
    return true;
}

int Fail(std::ostream& err, const std::string& message) {
    err << "tarvex-sim: " << message << "\n(try tarvex-sim --help)\n";
    return 2;
}

// The options that take a file or a nation: where each goes, and what it needs.
struct TextOption {
    const char* name;
    std::string Options::*field;
    const char* needs;
};
constexpr TextOption kTextOptions[] = {
    {"--load", &Options::loadFile, "a file"},          {"--save", &Options::saveFile, "a file"},
    {"--random-from", &Options::randomFile, "a file"}, {"--chronicle", &Options::chronicleFile, "a file"},
    {"--stats", &Options::statsFile, "a file"},        {"--player", &Options::player, "a nation"},
    {"--record", &Options::recordFile, "a file"},      {"--replay", &Options::replayFile, "a file"},
};

// The options that only turn something on.
struct FlagOption {
    const char* name;
    bool Options::*field;
};
constexpr FlagOption kFlagOptions[] = {
    {"--protocol", &Options::protocol},
    {"--log", &Options::log},
    {"--check", &Options::check},
    {"--restart-chronicle", &Options::restartChronicle},
};

template <class Option, std::size_t N>
const Option* Find(const Option (&options)[N], const std::string& name) {
    for (const Option& option : options)
        if (name == option.name) return &option;
    return nullptr;
}

// One player, one way of deciding for him.
Stop CheckPlayerOptions(const Options& options, const std::set<std::string>& given, std::ostream& err) {
    if (given.count("--player") && given.count("--bot")) return Fail(err, "--player and --bot name the nation twice");
    const int ways = (options.protocol ? 1 : 0) + (options.bot ? 1 : 0) + (options.replayFile.empty() ? 0 : 1);
    if (ways > 1) return Fail(err, "choose one of --protocol, --bot and --replay");
    if (given.count("--player") && ways == 0) return Fail(err, "--player needs --protocol or --replay");
    if (ways == 1 && options.player.empty()) return Fail(err, "--protocol and --replay need --player NATION");
    if (!options.recordFile.empty() && ways == 0) return Fail(err, "--record needs a player (--player or --bot)");
    return std::nullopt;
}

int ParseAndRun(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace

int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::istringstream none;
    return Main(args, none, out, err);
}

int Main(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    const int status = ParseAndRun(args, in, out, err);
    // Output that did not reach its file (a full disk, a closed pipe) is a failed run.
    out.flush();
    if (!out) {
        err << "tarvex-sim: cannot write the output\n";
        return status == 0 ? 2 : status;
    }
    return status;
}

namespace {

int ParseAndRun(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    Options options;
    std::set<std::string> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // A second value would silently replace the first: the run could not be what was meant.
        if (a.rfind("--", 0) == 0 && a != "--help" && !given.insert(a).second)
            return Fail(err, a + " is given more than once");
        // The value after an option; an empty one names nothing and is refused like a missing one.
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size() || args[i + 1].empty()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            out << kUsage;
            return 0;
        } else if (a == "--years") {
            if (!value(v) || !ParseWhole(v, 0, kMostYears, options.years))
                return Fail(err, "--years needs a whole number from 0 to 1000000");
        } else if (a == "--seed") {
            if (!value(v) || !ParseWhole(v, std::uint64_t{0}, std::numeric_limits<std::uint64_t>::max(), options.seed))
                return Fail(err, "--seed needs a whole number from 0 to 18446744073709551615");
        } else if (const TextOption* text = Find(kTextOptions, a)) {
            if (!value(options.*text->field)) return Fail(err, std::string(text->name) + " needs " + text->needs);
        } else if (a == "--bot") {
            if (!value(options.player)) return Fail(err, "--bot needs a nation");
            options.bot = true;
        } else if (a == "--strength") {
            if (!value(v) || !ParseWhole(v, kStandardStrength, kStrongest, options.strength))
                return Fail(err, "--strength needs a level from 1 to 3");
        } else if (a == "--strength-of") {
            const std::size_t eq = i + 1 < args.size() ? args[i + 1].rfind('=') : std::string::npos;
            if (!value(v) || eq == std::string::npos || eq == 0 ||
                !ParseWhole(v.substr(eq + 1), kStandardStrength, kStrongest, options.strengthOfNation))
                return Fail(err, "--strength-of needs NATION=N with a level N from 1 to 3");
            options.strengthNation = v.substr(0, eq);
        } else if (const FlagOption* flag = Find(kFlagOptions, a)) {
            options.*flag->field = true;
        } else {
            return Fail(err, "unknown argument: " + a);
        }
    }
    if (Stop stop = CheckPlayerOptions(options, given, err)) return *stop;
    return Run(options, in, out, err);
}

}  // namespace

}  // namespace tarvex::sim
