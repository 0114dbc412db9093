// The message hold that keeps the game still and the window alive: while the
// game holds, Qt's event loop runs (painting, resizing, scrolling the map,
// tooltips, the desktop's ping, the windows that only show), and the game's
// own input waits to be handled after the hold, in order of arrival.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QEvent;

namespace tarvex::ui {

class WayOut;

class HoldGate : public QObject {
public:
    HoldGate();
    ~HoldGate() override;

    // A window whose keys, clicks and close box belong to the game. Clicks on
    // `showing` (the map, the scroll bars, the menu bar) only move the view
    // and pass at once; the game's menu entries wait through Defer.
    void AddGameWindow(QWidget* window, const std::vector<QWidget*>& showing = {});

    // Holds the game for `seconds` while the event loop runs. With `out`, the
    // program's end lets go of the hold and unwinds the game's call that held.
    void Hold(double seconds, WayOut* out = nullptr);
    // A box the player must answer is up: the game stands still as in a hold
    // (no step, no timer, no battle) until it closes; the box itself is no game
    // window and answers at once. What came meanwhile follows in its turn.
    void BeginQuestion() { ++asking_; }
    void EndQuestion();
    bool Asking() const { return asking_ > 0; }

    // True when input for `window` must wait: the game holds, or earlier input
    // for the same window waits still.
    bool MustWait(const QWidget* window) const;
    // Keeps an action of the game for `window` until its turn comes after the hold.
    void Defer(QWidget* window, std::function<void()> action);
    // How much input waits (for tests and the curious).
    std::size_t Waiting() const { return waiting_.size(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct GameWindow {
        QPointer<QWidget> window;
        std::vector<QPointer<QWidget>> showing;
    };
    // Input kept back: an event to deliver again, or an action to run.
    struct Kept {
        QPointer<QWidget> window;
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
        std::function<void()> action;
    };

    // The game window whose input this is, or nullptr for input that passes.
    QWidget* GameWindowOf(QObject* receiver, const QEvent* event) const;
    // The filter must see the game's keys before any window previews them.
    void ComeFirst();
    void RequestDrain();
    void Drain();

    std::vector<GameWindow> windows_;
    std::deque<Kept> waiting_;
    bool holding_ = false;
    int asking_ = 0;
    bool drainRequested_ = false;
    int delivering_ = 0;
};

}  // namespace tarvex::ui
