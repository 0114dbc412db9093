// A window's first look at every key pressed in it, before the control with the focus.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QWidget;

namespace tarvex::ui {

class KeyPreview : public QObject {
public:
    // `handler` sees each key press of `window` once, with the control it was
    // sent to; it returns true to keep the key from that control.
    KeyPreview(QWidget* window, std::function<bool(QKeyEvent*, QWidget*)> handler);
    ~KeyPreview() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<bool(QKeyEvent*, QWidget*)> handler_;
    // The key being passed up from a control to its parents: seen once only.
    const QEvent* lastEvent_ = nullptr;
    quint64 lastStamp_ = 0;
    QPointer<QWidget> lastReceiver_;
};

}  // namespace tarvex::ui
