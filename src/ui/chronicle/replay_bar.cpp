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
    const std::vector<SeasonRecord>& seasons = game_.chronicle.seasons;
    const bool atPresent = slider_->value() >= slider_->maximum();
    kept_.clear();
    for (std::size_t i = 0; i < seasons.size(); ++i)
        if (seasons[i].HasOwners()) kept_.push_back(static_cast<int>(i));
    const int last = std::max(0, static_cast<int>(kept_.size()) - 1);
    // The whole war in about twenty seconds, a tick no faster than the eye follows.
    stride_ = std::max(1, (static_cast<int>(kept_.size()) * kFastestTickMs + kWholeWarMs - 1) / kWholeWarMs);
    // Setting the interval restarts a running timer: the main window syncs every
    // few milliseconds, so only a change may touch it, or the replay never ticks.
    const int interval = kept_.empty() ? kWholeWarMs : kWholeWarMs * stride_ / static_cast<int>(kept_.size());
    if (timer_->interval() != interval) timer_->setInterval(interval);
    setEnabled(kept_.size() > 1);
    const QSignalBlocker quiet(slider_);
    slider_->setRange(0, last);
    if (atPresent) slider_->setValue(last);
    ShowAt(slider_->value());
}

int ReplayBar::Shown() const {
    return kept_.empty() ? -1 : kept_[std::clamp(slider_->value(), 0, static_cast<int>(kept_.size()) - 1)];
}

bool ReplayBar::ShowSeason(int year, int season) {
    const std::vector<SeasonRecord>& seasons = game_.chronicle.seasons;
    for (std::size_t k = 0; k < kept_.size(); ++k)
        if (seasons[kept_[k]].year == year && seasons[kept_[k]].season == season) {
            slider_->setValue(static_cast<int>(k));
            return true;
        }
    return false;
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
    slider_->setValue(std::min(slider_->maximum(), slider_->value() + stride_));
    if (slider_->value() >= slider_->maximum()) Play(false);
}

void ReplayBar::ShowAt(int position) {
    if (kept_.empty()) {
        when_->setText("持ち主の記録がありません");
        if (map_) map_->ShowPast(nullptr);
        return;
    }
    const int index = kept_[std::clamp(position, 0, static_cast<int>(kept_.size()) - 1)];
    const SeasonRecord& row = game_.chronicle.seasons[index];
    const int season = row.season >= 1 && row.season <= 4 ? row.season : 1;
    const bool present = position >= slider_->maximum();
    when_->setText(
        QString("%1年目の%2%3").arg(row.year).arg(Qs(game_.SeasonNames[season])).arg(present ? "（現在）" : ""));
    if (!map_) return;
    if (present) {
        map_->ShowPast(nullptr);
        return;
    }
    std::array<int, kCityCount + 1> owners{};
    std::array<std::string, kCityCount + 1> names{};
    for (int c = 1; c <= kCityCount; ++c) {
        owners[c] = row.owners[c];
        if (owners[c] >= 1 && owners[c] <= kNationCount) names[c] = game_.Nations[owners[c]].Name;
    }
    map_->ShowPast(&owners, &names);
}

}  // namespace tarvex::ui
