// A window of the game over the main window: its name, title and font, and a
// close that waits until the game says the window may go.
#pragma once

#include <QDialog>

class QCloseEvent;
class QMenuBar;

namespace tarvex::ui {

class GameDialog : public QDialog {
    Q_OBJECT
public:
    GameDialog(QWidget* parent, const char* objectName, const char* title);

public slots:
    // Escape: refused until Finished().
    void reject() override;

protected:
    // The window's menu bar over its contents, the window as large as they are.
    void StackMenuAndContents(QMenuBar* menuBar, QWidget* contents);
    // True when the window may close: a battle or event screen stays until its game is done with it.
    virtual bool Finished() const { return true; }
    // The close box: refused until Finished().
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace tarvex::ui
