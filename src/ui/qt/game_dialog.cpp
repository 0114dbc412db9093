// A window of the game over the main window, closing only when the game allows.
#include "ui/qt/game_dialog.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

#include "ui/qt/common.h"

namespace tarvex::ui {

GameDialog::GameDialog(QWidget* parent, const char* objectName, const char* title) : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(Qs(title));
    setFont(GameFont(9));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void GameDialog::StackMenuAndContents(QMenuBar* menuBar, QWidget* contents) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(contents);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void GameDialog::reject() {
    if (Finished()) QDialog::reject();
}

void GameDialog::closeEvent(QCloseEvent* event) {
    if (Finished())
        event->accept();
    else
        event->ignore();
}

}  // namespace tarvex::ui
