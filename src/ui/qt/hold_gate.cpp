// The message hold that keeps the game still and the window alive.
#include "ui/qt/hold_gate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "ui/qt/way_out.h"

namespace tarvex::ui {

HoldGate::HoldGate() { ComeFirst(); }

HoldGate::~HoldGate() {
    if (qApp) qApp->removeEventFilter(this);
}

void HoldGate::AddGameWindow(QWidget* window, const std::vector<QWidget*>& showing) {
    std::erase_if(windows_, [window](const GameWindow& w) { return w.window.isNull() || w.window == window; });
    GameWindow entry{window, {}};
    for (QWidget* part : showing) entry.showing.emplace_back(part);
    windows_.push_back(std::move(entry));
    ComeFirst();
}

void HoldGate::ComeFirst() {
    // Installing again puts the gate before the filters installed since (the
    // windows' key previews), so a held key never reaches the game.
    if (qApp) qApp->installEventFilter(this);
}

void HoldGate::Hold(double seconds, WayOut* out) {
    const bool wasHolding = holding_;
    holding_ = true;
    ComeFirst();
    QEventLoop loop;
    QTimer end;
    end.setSingleShot(true);
    end.setTimerType(Qt::PreciseTimer);
    connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(static_cast<int>(std::lround(seconds * 1000)));
    // The hold is over however it ends, the program's end included.
    struct Release {
        HoldGate& gate;
        bool was;
        ~Release() {
            gate.holding_ = was;
            if (!gate.holding_ && !gate.waiting_.empty()) gate.RequestDrain();
        }
    } release{*this, wasHolding};
    if (out)
        out->Wait(loop);
    else
        loop.exec();
}

void HoldGate::EndQuestion() {
    if (asking_ > 0) --asking_;
    if (asking_ == 0 && !waiting_.empty()) RequestDrain();
}

bool HoldGate::MustWait(const QWidget* window) const {
    if (holding_ || asking_ > 0) return true;
    // What is delivered now from the queue goes straight through, and so does
    // whatever it sets off.
    if (delivering_ > 0) return false;
    return std::any_of(waiting_.begin(), waiting_.end(), [window](const Kept& k) { return k.window == window; });
}

void HoldGate::Defer(QWidget* window, std::function<void()> action) {
    waiting_.push_back({window, nullptr, nullptr, std::move(action)});
    if (!holding_ && asking_ == 0) RequestDrain();
}

QWidget* HoldGate::GameWindowOf(QObject* receiver, const QEvent* event) const {
    if (!receiver->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(receiver);
    QWidget* window = widget->window();
    const auto found =
        std::find_if(windows_.begin(), windows_.end(), [window](const GameWindow& w) { return w.window == window; });
    if (found == windows_.end()) return nullptr;
    const bool mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
                       event->type() == QEvent::MouseButtonDblClick;
    if (mouse)
        for (const QPointer<QWidget>& part : found->showing)
            if (part && (part == widget || part->isAncestorOf(widget))) return nullptr;
    return window;
}

bool HoldGate::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            // Chords with Ctrl or Alt are shortcuts and menu keys: the menus
            // stay open to the player, and their entries of the game wait by Defer.
            const auto* key = static_cast<const QKeyEvent*>(event);
            if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
            [[fallthrough]];
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            QWidget* window = GameWindowOf(watched, event);
            if (!window || !MustWait(window)) return false;
            waiting_.push_back({window, watched, std::unique_ptr<QEvent>(event->clone()), {}});
            // Taken: it must not travel on to the parents and be kept twice.
            event->accept();
            return true;
        }
        case QEvent::Close: {
            // The desktop's close box; the game closing its own windows passes.
            if (!event->spontaneous() || !watched->isWidgetType()) return false;
            auto* widget = static_cast<QWidget*>(watched);
            if (!widget->isWindow() || GameWindowOf(widget, event) != widget || !MustWait(widget)) return false;
            event->ignore();
            const QPointer<QWidget> window(widget);
            waiting_.push_back({widget, nullptr, nullptr, [window] {
                                    if (window) window->close();
                                }});
            return true;
        }
        case QEvent::WindowUnblocked:
            if (!waiting_.empty()) RequestDrain();
            return false;
        default:
            return false;
    }
}

void HoldGate::RequestDrain() {
    if (drainRequested_) return;
    drainRequested_ = true;
    QMetaObject::invokeMethod(
        this, [this] { Drain(); }, Qt::QueuedConnection);
}

void HoldGate::Drain() {
    drainRequested_ = false;
    // The end of the hold or of the delivery under way asks again.
    if (holding_ || asking_ > 0 || delivering_ > 0) return;
    for (;;) {
        std::erase_if(waiting_, [](const Kept& k) { return k.window.isNull() || (k.event && k.receiver.isNull()); });
        // A window behind a modal box gets its input when the box closes;
        // the box's own window, and the others, do not wait for it.
        QWidget* modal = QApplication::activeModalWidget();
        const auto next = std::find_if(waiting_.begin(), waiting_.end(),
                                       [modal](const Kept& k) { return !modal || k.window == modal; });
        if (next == waiting_.end()) return;
        Kept kept = std::move(*next);
        waiting_.erase(next);
        ++delivering_;
        if (kept.action) {
            kept.action();
        } else if (kept.event->type() == QEvent::KeyPress || kept.event->type() == QEvent::KeyRelease) {
            // A key goes where the focus is now, as one typed now would.
            QWidget* focus = kept.window->focusWidget();
            QCoreApplication::sendEvent(focus ? focus : kept.window.data(), kept.event.get());
        } else {
            // A click on a control the game has taken away or greyed meanwhile presses nothing.
            auto* target = static_cast<QWidget*>(kept.receiver.data());
            if (target->isVisible() && target->isEnabled()) QCoreApplication::sendEvent(target, kept.event.get());
        }
        --delivering_;
        if (holding_ || asking_ > 0) return;
    }
}

}  // namespace tarvex::ui
