// Replaying the war on the map, season by season.
#include "ui/chronicle/replay_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <algorithm>

#include "ui/map/map_view.h"
#include "ui/qt/common.h"

namespace tarvex::ui {

namespace {

constexpr int kFastestTickMs = 40;  // a tick shows a season, or several when the war is long

}  // namespace

ReplayBar::ReplayBar(const Game& game, MapView* map, QWidget* parent) : QWidget(parent), game_(game), map_(map) {
    setObjectName("replayBar");
    play_ = new QPushButton("再生", this);
    play_->setObjectName("ReplayButton");
    play_->setCheckable(true);
    play_->setAutoDefault(false);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName("SeasonSlider");
    slider_->setRange(0, 0);  // at the present until the seasons are taken in
    when_ = new QLabel(this);
    when_->setObjectName("ReplaySeason");
    when_->setMinimumWidth(when_->fontMetrics().horizontalAdvance("9999年目の冬（現在）") + 8);
    timer_ = new QTimer(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(play_);
    layout->addWidget(slider_, 1);
    layout->addWidget(when_);
    connect(slider_, &QSlider::valueChanged, this, [this](int position) { ShowAt(position); });
    connect(play_, &QPushButton::toggled, this, [this](bool on) { Play(on); });
    connect(timer_, &QTimer::timeout, this, [this] { Step(); });
    Sync();
}

ReplayBar::~ReplayBar() {
    if (map_) map_->ShowPast(nullptr);
}

void ReplayBar::Sync() {
    const bool atPresent = slider_->value() >= slider_->maximum();
    // The whole war in about twenty seconds, a tick no faster than the eye follows.
    plan_ = PlanReplay(game_.chronicle.seasons, kWholeWarMs, kFastestTickMs);
    const int last = std::max(0, static_cast<int>(plan_.kept.size()) - 1);
    // Setting the interval restarts a running timer: the main window syncs every
    // few milliseconds, so only a change may touch it, or the replay never ticks.
    if (timer_->interval() != plan_.tickMs) timer_->setInterval(plan_.tickMs);
    setEnabled(plan_.kept.size() > 1);
    const QSignalBlocker quiet(slider_);
    slider_->setRange(0, last);
    if (atPresent) slider_->setValue(last);
    ShowAt(slider_->value());
}

int ReplayBar::Shown() const {
    const std::vector<int>& kept = plan_.kept;
    return kept.empty() ? -1 : kept[std::clamp(slider_->value(), 0, static_cast<int>(kept.size()) - 1)];
}

bool ReplayBar::ShowSeason(int year, int season) {
    const int position = ReplayPosition(plan_, game_.chronicle.seasons, year, season);
    if (position < 0) return false;
    slider_->setValue(position);
    return true;
}

void ReplayBar::Play(bool on) {
    if (on && slider_->value() >= slider_->maximum()) slider_->setValue(0);  // from the start of the war
    if (on)
        timer_->start();
    else
        timer_->stop();
    if (play_->isChecked() != on) {
        const QSignalBlocker quiet(play_);
        play_->setChecked(on);
    }
    play_->setText(on ? "停止" : "再生");
}

bool ReplayBar::Playing() const { return timer_->isActive(); }

void ReplayBar::Step() {
    slider_->setValue(std::min(slider_->maximum(), slider_->value() + plan_.stride));
    if (slider_->value() >= slider_->maximum()) Play(false);
}

void ReplayBar::ShowAt(int position) {
    const std::vector<int>& kept = plan_.kept;
    if (kept.empty()) {
        when_->setText("持ち主の記録がありません");
        if (map_) map_->ShowPast(nullptr);
        return;
    }
    const int index = kept[std::clamp(position, 0, static_cast<int>(kept.size()) - 1)];
    const SeasonRecord& row = game_.chronicle.seasons[index];
    const bool present = position >= slider_->maximum();
    when_->setText(Qs(ReplayCaption(game_, row, present)));
    if (!map_) return;
    if (present) {
        map_->ShowPast(nullptr);
        return;
    }
    const PastOwners past = OwnersOf(game_, row);
    map_->ShowPast(&past.owners, &past.names);
}

}  // namespace tarvex::ui
