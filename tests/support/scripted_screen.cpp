// A screen for tests that records and answers from a script, and a new game of the rules alone.
#include "support/scripted_screen.h"

#include <gtest/gtest.h>

#include "rules/combat/battle.h"
#include "rules/turn/messages.h"
#include "rules/world/newgame.h"
#include "rules/world/numbers.h"

namespace tarvex::testing {

void ScriptedScreen::Message(Game&, const std::string& text, const std::string& title) {
    log.push_back({Shown::Box, text, title});
}

Answer ScriptedScreen::Ask(Game&, const Question& q) {
    log.push_back({Shown::QuestionBox, q.text, q.title, q.defaultButton, q.warning});
    if (answers.empty()) return Answer::Ok;
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedScreen::Hold(Game& game, int line, double) {
    log.push_back({static_cast<Shown::Kind>(Shown::Line1 + line - 1), game.Lines[line - 1].text, ""});
}

void ScriptedScreen::RunBattleScreen(Game& game) {
    log.push_back({Shown::Battle, "", ""});
    if (battle) {
        battle(game);
        return;
    }
    // The player picks his option once, then presses OK round after round.
    StartBattle(game);
    if (battleTactic < 0 || battleTactic >= kTacticCount) {
        Tell(game, "エラー");
        return;
    }
    if (!TakePlayerSideTactic(game, battleTactic + 1)) return;
    for (int guard = 0; guard < 16 && !game.Battle.BattleOver; ++guard) FightRound(game);
}

void ScriptedScreen::RunEventWindow(Game& game) {
    log.push_back({Shown::EventWindow, "", ""});
    if (eventWindow) eventWindow(game);
}

void ScriptedScreen::ShowNationScreen(Game&, bool modal) { log.push_back({Shown::Nation, modal ? "modal" : "", ""}); }

void ScriptedScreen::ShowSettings(Game&) { log.push_back({Shown::Settings, "", ""}); }

void ScriptedScreen::OpenWebPage(Game&, const std::string& url) { log.push_back({Shown::WebPage, url, ""}); }

void ScriptedScreen::EndProgram(Game&) { log.push_back({Shown::End, "", ""}); }

bool EndsProgram(const std::function<void()>& call) {
    try {
        call();
    } catch (const ProgramEnded&) {
        return true;
    }
    return false;
}

std::vector<std::string> ScriptedScreen::Boxes() const {
    std::vector<std::string> out;
    for (const auto& s : log)
        if (s.kind == Shown::Box || s.kind == Shown::QuestionBox) out.push_back(s.text);
    return out;
}

std::vector<std::string> ScriptedScreen::Lines(int line) const {
    std::vector<std::string> out;
    for (const auto& s : log)
        if (s.kind == Shown::Line1 + line - 1) out.push_back(s.text);
    return out;
}

double ScriptedRandom::Next() {
    if (values_.empty()) {
        if (fallback) return fallback->Next();
        ADD_FAILURE() << "scripted random draws ran out";
        return 0.0;
    }
    double v = values_.front();
    values_.pop_front();
    return v;
}

void StartNewGame(Game& game, const std::string& player) {
    constexpr int kMiddleSpeed = 2;
    game.PlayerNation = game.NationChoice = player.empty() ? "*" : player;
    game.MessageSpeed = kMiddleSpeed;
    game.MessageWait = kMessageWaits[kMiddleSpeed];
    game.EnterAdvanceSetting = 0;
    game.EnterAdvance = false;
    game.AutoAdvance = true;
    game.SettingsPending = false;
    NewGame(game);
    ShowMsg(game, Str(game.Year) + "年目、春です");
}

RulesGame::RulesGame(const std::string& player, std::uint64_t seed) : ScriptedGame(seed) {
    StartNewGame(game, player);
    screen.Clear();
}

}  // namespace tarvex::testing
