// A screen for tests that records and answers from a script.
#include "support/scripted_screen.h"

#include <gtest/gtest.h>

#include "combat/battle_screen.h"
#include "events/seasonal.h"
#include "state/newgame.h"

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
    log.push_back({static_cast<Shown::Kind>(Shown::Line1 + line - 1), game.shown.main.msg[line - 1].text, ""});
}

void ScriptedScreen::RunBattleScreen(Game& game) {
    log.push_back({Shown::Battle, "", ""});
    game.shown.battle.open = true;
    if (battle) {
        battle(game);
        return;
    }
    frmCombat_Form_Load(game);
    frmCombat_com_Click(game, battleTactic);
    for (int guard = 0; guard < 16 && game.shown.battle.open && !game.Ended; ++guard) frmCombat_cmdComOk_Click(game);
}

void ScriptedScreen::RunEventWindow(Game& game) {
    log.push_back({Shown::EventWindow, "", ""});
    if (eventWindow) {
        eventWindow(game);
        return;
    }
    frmEvent_Command1_Click(game);
}

void ScriptedScreen::ShowNationScreen(Game&, bool modal) { log.push_back({Shown::Nation, modal ? "modal" : "", ""}); }

void ScriptedScreen::ShowSettings(Game&) { log.push_back({Shown::Settings, "", ""}); }

void ScriptedScreen::OpenWebPage(Game&, const std::string& url) { log.push_back({Shown::WebPage, url, ""}); }

void ScriptedScreen::EndProgram(Game&) { log.push_back({Shown::End, "", ""}); }

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
    SetGame_Form_Load(game);
    SetGame_Text1_Change(game, player);
    SetGame_Command1_Click(game);
    Form1_Form_Load(game);
    screen.Clear();
}

void TestGame::UseScripted() {
    scripted.fallback = nullptr;
    game.random = &scripted;
}

}  // namespace tarvex::testing
