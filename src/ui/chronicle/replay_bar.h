// The war replayed on the map: a slider over the seasons the chronicle kept the
// owners of, and a play button that runs through the whole war in about twenty
// seconds. Leaving the last season, or closing it, returns the map to the present.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "rules/world/game.h"
#include "screens/chronicle/chronicle_window.h"

class QLabel;
class QPushButton;
class QSlider;
class QTimer;

namespace tarvex::ui {

class MapView;

class ReplayBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWholeWarMs = 20000;

    ReplayBar(const Game& game, MapView* map, QWidget* parent = nullptr);
    ~ReplayBar() override;

    // Takes in the seasons recorded since the last call.
    void Sync();
    // Moves the slider to a season (an entry of the chronicle was chosen); false when
    // the chronicle kept no owners for it.
    bool ShowSeason(int year, int season);
    // The season shown, an index into the chronicle's seasons; the present at the last.
    int Shown() const;
    void Play(bool on);
    bool Playing() const;
    // One tick of playing: a season or a few further on; stops at the present.
    void Step();

private:
    void ShowAt(int position);

    const Game& game_;
    QPointer<MapView> map_;
    QSlider* slider_ = nullptr;
    QPushButton* play_ = nullptr;
    QLabel* when_ = nullptr;
    QTimer* timer_ = nullptr;
    ReplayPlan plan_;  // the seasons whose owners the chronicle kept, and the pace
};

}  // namespace tarvex::ui
