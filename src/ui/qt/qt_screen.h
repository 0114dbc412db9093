// The Screen port carried by Qt: message boxes, the message hold, the modal
// windows, the browser and the program's end.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "rules/port/screen.h"
#include "ui/qt/hold_gate.h"
#include "ui/qt/way_out.h"

namespace tarvex::ui {

class QtScreen : public Screen {
public:
    QtScreen();

    // The window that owns the boxes and modal windows (the main window once it exists).
    void SetOwner(QWidget* owner) { owner_ = owner; }
    QWidget* Owner() const { return owner_; }

    // Every open window registers how it brings itself up to date with the game;
    // all of them run before each box and each hold, so the player always sees
    // the current lines, panels and battle fields.
    void AddView(QObject* owner, std::function<void()> sync);
    void RemoveView(QObject* owner);
    void SyncViews();

    // Runs a handler of the game for `window`: at once, or after the hold when
    // the game holds (or earlier input for the window still waits). The
    // program's end stops it there (caught by Out().Catch). Afterwards every
    // window shows the result.
    void Act(QWidget* window, Game& game, const std::function<void()>& handler);
    // The hold's gate: which windows' input belongs to the game, and what waits.
    HoldGate& Gate() { return gate_; }
    // The program's one way out, which EndProgram begins.
    WayOut& Out() { return out_; }

    // Told when the program's end begins, before the way out (tests count the ends).
    std::function<void()> onEnd;
    // Tests answer boxes without a person: when set, boxes are not shown and
    // questions take this answer.
    std::function<Answer(const Question&)> autoAnswer;
    // Every box shown or answered, in order (text only): lets tests see what the
    // player was told without a person at the screen.
    std::vector<std::string> boxLog;
    // How a hold passes its time; tests of other things replace it so that
    // nothing waits. Default: the gate's hold, the event loop running.
    std::function<void(double seconds)> holdWait;
    // How long the help page's opener may run before it counts as having opened the
    // page (a browser it starts may keep it running); tests shorten it.
    double openerPatience = 5.0;

    void Message(Game& game, const std::string& text, const std::string& title) override;
    Answer Ask(Game& game, const Question& question) override;
    int Choose(Game& game, const Question& question, const std::vector<std::string>& buttons) override;
    void Hold(Game& game, int line, double seconds) override;
    void RunBattleScreen(Game& game) override;
    void RunEventWindow(Game& game) override;
    void ShowNationScreen(Game& game, bool modal) override;
    void ShowSettings(Game& game) override;
    // The cities chart of the whole game, modal, closed by its "閉じる". Not
    // shown while tests answer the boxes, as no box is.
    void ShowWarChart(Game& game) override;
    void OpenWebPage(Game& game, const std::string& url) override;
    void EndProgram(Game& game) override;
    // A wait of more than a moment for another program's hold on the save shows a
    // box that says so, with a button to give up; the window answers meanwhile.
    // While tests answer the boxes, the wait is asked once as a question instead.
    bool WaitForSave(Game& game, double waited) override;
    void SaveWaitOver(Game& game) override;
    std::string SaveFilePath(Game& game) override;
    // "Autosave.dt" beside the save file, while keepAutosave holds.
    std::string AutosavePath(Game& game) override;
    // Tests of other things turn it off, so that they leave no file behind.
    bool keepAutosave = true;

    // Shows the settings window (creating it on first use) and brings it forward.
    std::function<void()> onShowSettings;

    // The local file of the game's help page or web address to open for `url`:
    // a data file when one is shipped under that name, otherwise the address as it stands.
    static QString ResolvePage(const std::string& url);
    // Where "Game.dt" lives: the program's directory when it can be written and
    // the game is not an installed one, else the user's application data folder
    // (created on demand). An installed game (its data under ../share/tarvex)
    // always keeps the save in the user's folder, so it never writes into bin/
    // even when run as root.
    static QString SaveDirectory(const QString& programDir, const QString& userDataDir);
    // Once a run, after the first save that went to the user's folder: which folder.
    std::string SavedWhere(Game& game) override;

    // The folders the save folder is chosen from; empty: the program's own and
    // the user's application data folder.
    QString programDir;
    QString userDataDir;

private:
    // The box of a wait for the save, while it is up.
    QPointer<QWidget> saveWait_;
    bool saveWaitTold_ = false;
    bool saveWaitGivenUp_ = false;
    struct View {
        QPointer<QObject> owner;
        std::function<void()> sync;
    };
    // SaveDirectory for this screen's folders.
    QString SaveFolder() const;

    QPointer<QWidget> owner_;
    HoldGate gate_;
    WayOut out_;
    bool toldSaveFolder_ = false;
    std::vector<View> views_;
};

}  // namespace tarvex::ui
