// The event window "イベント": the autumn event and every city it touched.
#pragma once

#include "ui/qt/game_dialog.h"

class QListWidget;
class QPushButton;

namespace tarvex {
struct Session;
}

namespace tarvex::ui {

class QtScreen;

class EventWindow : public GameDialog {
    Q_OBJECT

public:
    EventWindow(Session& game, QtScreen& screen, QWidget* parent = nullptr);
    ~EventWindow() override;

    // Shows the event until its OK has been pressed (or the program ends).
    void Run();
    // Brings the list up to date; closes once the game has ended.
    void Sync();

private:
    void Confirm();
    bool Finished() const override;

    Session& game_;
    QtScreen& screen_;
    bool closing_ = false;
    bool registered_ = false;
    QListWidget* lines_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace tarvex::ui
