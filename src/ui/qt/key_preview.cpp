// A window's first look at every key pressed in it.
#include "ui/qt/key_preview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace tarvex::ui {

KeyPreview::KeyPreview(QWidget* window, std::function<bool(QKeyEvent*, QWidget*)> handler)
    : QObject(window), window_(window), handler_(std::move(handler)) {
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview() {
    if (qApp) qApp->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    // A key let go has ended its press's travel up the parents: the next press is never taken
    // for it, even when it lies at the same address with the same time (the same stack slot).
    if (event->type() == QEvent::KeyRelease) lastEvent_ = nullptr;
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* receiver = static_cast<QWidget*>(watched);
    if (receiver->window() != window_) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // A key the control left unused travels up to its parents; the window has seen it already.
    const bool passedUp = event == lastEvent_ && key->timestamp() == lastStamp_ && lastReceiver_ &&
                          receiver != lastReceiver_ && receiver->isAncestorOf(lastReceiver_);
    lastEvent_ = event;
    lastStamp_ = key->timestamp();
    lastReceiver_ = receiver;
    if (passedUp) return false;
    return handler_(key, receiver);
}

}  // namespace tarvex::ui
