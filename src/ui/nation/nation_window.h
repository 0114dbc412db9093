// The nation information screen "国家情報": every nation's character and
// battle record, with a legend; choosing a nation moves the map to it.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include "ui/qt/game_dialog.h"

class QListWidget;
class QListWidgetItem;

namespace tarvex {
struct Session;
}

namespace tarvex::ui {

class QtScreen;

class NationWindow : public GameDialog {
    Q_OBJECT

public:
    // The lines are built here, once: the screen shows the records as they
    // were when it opened.
    NationWindow(Session& game, QtScreen& screen, QWidget* parent = nullptr);
    ~NationWindow() override;

    const Session& GameShown() const { return game_; }
    // Distance between tab stops in the lists, in pixels.
    qreal TabStop() const { return tabStop_; }

private:
    // The header line over the list of nations, and the list with each nation's colour.
    void BuildLists(QWidget* contents, const QFont& listFont, const QString& header, const QStringList& lines,
                    int listWidth);
    // What the policies, stances and tactics mean, in three groups along the foot.
    void BuildLegend(QWidget* contents, int clientWidth);
    void Choose(QListWidgetItem* item);

    Session& game_;
    QtScreen& screen_;
    bool closing_ = false;
    qreal tabStop_ = 0;
    QListWidget* listHeader_ = nullptr;
    QListWidget* nationList_ = nullptr;
};

}  // namespace tarvex::ui
