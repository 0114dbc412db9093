// The game's modal and modeless windows besides the main window and the settings:
// the battle screen, the event window and the nation information screen.
#include "ui/qt/dialogs.h"

#include <QApplication>
#include <QPointer>

#include "screens/session/session.h"
#include "ui/battle/battle_window.h"
#include "ui/events/event_window.h"
#include "ui/nation/nation_window.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {

namespace {

// The one nation information screen opened from the main window's menu.
QPointer<NationWindow>& ModelessNationWindow() {
    static QPointer<NationWindow> window;
    return window;
}

void BringForward(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
}

}  // namespace

void RunBattleWindow(Session& game, QtScreen& screen, QWidget* parent) {
    BattleWindow window(game, screen, parent);
    window.Run();
}

void RunEventWindow(Session& game, QtScreen& screen, QWidget* parent) {
    EventWindow window(game, screen, parent);
    window.Run();
}

void ShowNationWindow(Session& game, QtScreen& screen, QWidget* parent, bool modal) {
    QPointer<NationWindow>& modeless = ModelessNationWindow();
    if (modeless && &modeless->GameShown() != &game) {
        // Left over from another game: it shows records that are no longer there.
        modeless->close();
        modeless = nullptr;
    }
    if (modeless && modeless->isVisible()) {
        QWidget* blocker = QApplication::activeModalWidget();
        if (modal && blocker && blocker != modeless) {
            // Under the battle screen the open screen could not be used or even
            // closed: it becomes modal over that screen, where it stands.
            const QPoint where = modeless->pos();
            modeless->hide();
            modeless->setWindowModality(Qt::ApplicationModal);
            modeless->move(where);
            modeless->show();
        }
        BringForward(modeless);
        return;
    }
    if (modal) {
        // Over the battle screen when it is up, so it stands in front of it.
        QWidget* owner = QApplication::activeModalWidget();
        NationWindow window(game, screen, owner ? owner : parent);
        window.exec();
        return;
    }
    auto* window = new NationWindow(game, screen, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    modeless = window;
    window->show();
    BringForward(window);
}

}  // namespace tarvex::ui
