// The battle screen "戦闘画面": tactic buttons, the tactic table, both sides'
// values and morale bars, drawn from the battle in progress.
#pragma once

#include <QFont>
#include <array>
#include <functional>

#include "ui/qt/game_dialog.h"

class QAction;
class QFrame;
class QLabel;
class QPushButton;

namespace tarvex {
struct Session;
}

namespace tarvex::ui {

class QtScreen;

class BattleWindow : public GameDialog {
    Q_OBJECT

public:
    BattleWindow(Session& game, QtScreen& screen, QWidget* parent = nullptr);
    ~BattleWindow() override;

    // Opens the battle (its set-up runs first), then runs the window until
    // the battle is over or the program ends.
    void Run();
    // Brings every field up to date with the battle; closes the window once
    // the battle is over or the game has ended.
    void Sync();

    // The window's key handling, reachable for tests and for every child.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildContents(QWidget* contents);
    // The headings over the tactics and the table; the table's captions take their type.
    QFont BuildHeadings(QWidget* contents);
    // The five tactics' buttons, each with its odds beside it.
    void BuildTactics(QWidget* contents);
    void BuildTacticTable(QWidget* contents, const QFont& headingFont);
    // OK, and the two sides' tactic, morale, troops, nation and city.
    void BuildSides(QWidget* contents);
    void BuildBarsAndNotes(QWidget* contents);
    // Stands beside the two cities of the battle on the map, not over them.
    void PlaceBesideTheCities();
    bool Finished() const override;
    // Runs a handler of the battle, after the hold when the game holds.
    void Act(const std::function<void()>& handler);
    void ChooseTactic(int index);
    void FightRound();

    Session& game_;
    QtScreen& screen_;
    bool closing_ = false;
    bool registered_ = false;

    std::array<QPushButton*, 5> tactics_{};
    // Each tactic's chance beside its button, what the chances assume, and what a key could not do.
    std::array<QLabel*, 5> tacticOdds_{};
    QLabel* oddsNote_ = nullptr;
    QLabel* missing_ = nullptr;
    QPushButton* fightButton_ = nullptr;
    std::array<QLabel*, 5> attackerLabels_{};
    std::array<QLabel*, 5> defenderLabels_{};
    QFrame* attackBar_ = nullptr;
    QFrame* attackMorale_ = nullptr;
    QFrame* defendBar_ = nullptr;
    QFrame* defendMorale_ = nullptr;
    QAction* nationEntry_ = nullptr;
    QAction* quitEntry_ = nullptr;
};

}  // namespace tarvex::ui
