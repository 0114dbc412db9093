// The one way out of the program. The game's end (EndProgramNow) throws
// ProgramEnded, which may not pass through Qt's event loop: it is caught where
// the window called into the game (Catch), every loop that waits (a box, a
// modal window, a hold, the main loop) is told to stop (Begin), and each call
// of the game that waited in such a loop throws it again when the loop returns
// (Wait), out to the outermost call. The program's entry then takes the steps
// on the way out, all in one place (Leave).
#pragma once

#include <QEventLoop>
#include <QPointer>
#include <functional>
#include <vector>

namespace tarvex::ui {

class WayOut {
public:
    // Calls into the game from a slot or an event handler: the end stops it
    // there. False when the program is ending.
    bool Catch(const std::function<void()>& call);
    // The end has come: every window waiting in a loop of its own closes, every
    // hold lets go, and the main loop stops. Once.
    void Begin();
    bool Begun() const { return begun_; }
    // Runs a wait of the game (`wait` runs a loop: a box, a modal window); if the
    // program ended meanwhile, or had already, the call that waited unwinds.
    void Wait(const std::function<void()>& wait);
    // Runs `loop` as a wait that Begin stops.
    void Wait(QEventLoop& loop);

    // A step on the way out, such as keeping the main window's place; Leave runs them in order.
    void AddStep(std::function<void()> step) { steps_.push_back(std::move(step)); }
    // Everything that is done after the main loop has returned, in this order:
    // the steps, then the note that the game ended as the player asked.
    void Leave();

    // How the main loop is stopped; the program's entry sets it (tests run none).
    std::function<void()> leaveMainLoop;

private:
    std::vector<QPointer<QEventLoop>> loops_;
    std::vector<std::function<void()>> steps_;
    bool begun_ = false;
};

}  // namespace tarvex::ui
