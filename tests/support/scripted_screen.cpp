// A screen for tests that records and answers from a script.
#include "support/scripted_screen.h"

#include <gtest/gtest.h>

#include "rules/combat/battle.h"
#include "screens/battle/battle_screen.h"
#include "screens/events/event_window.h"
#include "screens/main/main_window.h"
#include "screens/settings/settings.h"

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

void ScriptedScreen::RunBattleScreen(Game& bare) {
    log.push_back({Shown::Battle, "", ""});
    Session* session = SessionOf(bare);
    if (!session) return FightForAbsentPlayer(bare);
    Session& game = *session;
    game.shown.battle.open = true;
    if (battle) {
        battle(game);
        return;
    }
    OpenBattleScreen(game);
    ChoosePlayerTactic(game, battleTactic);
    for (int guard = 0; guard < 16 && game.shown.battle.open; ++guard) FightNextRound(game);
}

void ScriptedScreen::RunEventWindow(Game& bare) {
    log.push_back({Shown::EventWindow, "", ""});
    Session* session = SessionOf(bare);
    if (!session) return;
    OpenEventWindow(*session);
    if (eventWindow) {
        eventWindow(*session);
        return;
    }
    CloseEventWindow(*session);
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

TestGame::TestGame(const std::string& player, std::uint64_t seed) : mersenne(seed), game(screen, mersenne) {
    SetDefaultSettings(game);
    OpenSettingsScreen(game);
    TypeNationName(game, player);
    AcceptSettings(game);
    StartGame(game);
    screen.Clear();
}

void TestGame::UseScripted() {
    scripted.fallback = nullptr;
    game.random = &scripted;
}

}  // namespace tarvex::testing
