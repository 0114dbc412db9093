// The main window's keys: every key goes first to the game's key handling.
#include "screens/main/keys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>

#include "screens/main/auto_play.h"
#include "screens/session/keycodes.h"
#include "ui/main/main_window.h"
#include "ui/qt/common.h"
#include "ui/qt/key_preview.h"

namespace tarvex::ui {

namespace {

// The key code handed to the game: the shared map's, else the platform's usual
// code, so that a key with no meaning in the game is still told apart from a
// swallowed one (0). -1 for keys that pass unseen: focus moves and modifiers.
int PreviewCode(const QKeyEvent* event) {
    const int code = GameKeyCode(event);
    if (code != 0) return code;
    switch (event->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_unknown:
            return -1;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        default:
            return 255;
    }
}

}  // namespace

bool MainWindow::PreviewKey(QKeyEvent* event, QWidget* receiver) {
    // Space (where no order is being given) and Pause stop the automatic steps and let them go on.
    if (event->key() == Qt::Key_Pause ||
        (event->key() == Qt::Key_Space && game_.shown.main.activePanel == Panel::IdlePanel)) {
        Show(TogglePause);
        return true;
    }
    int code = PreviewCode(event);
    if (code < 0) return false;
    // Where no text box has the focus, the top row's digits press the numbered
    // buttons as the keypad's do, for a keyboard without a keypad.
    if (code >= '0' && code <= '9' && !qobject_cast<QLineEdit*>(receiver)) code = KeyPad(code - '0');
    QWidget* focusBefore = focusWidget();
    int passed = 0;
    Run([code, &passed](Session& g) { passed = PressMainWindowKey(g, code); });
    if (passed == 0) return true;
    // A key whose action took its control off the screen, or the focus away from
    // it, has been used: it must not also type into or press that control.
    if (!receiver->isVisible() || focusWidget() != focusBefore) return true;
    // The arrows choose the target and the amount box themselves; the list must
    // not move its own selection on top of that.
    if (receiver == targetList_ && code >= kKeyLeft && code <= kKeyDown) return true;
    return false;
}

}  // namespace tarvex::ui
