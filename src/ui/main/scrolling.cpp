// The main window's view of the map: the scroll bars, and the glide that carries
// the view to where following the war puts it.
#include <QScrollBar>
#include <QVariantAnimation>

#include "screens/main/main_window.h"
#include "ui/main/main_window.h"
#include "ui/map/map_view.h"
#include "ui/qt/common.h"

namespace tarvex::ui {

void MainWindow::BuildScrollBars() {
    hScroll_ = new QScrollBar(Qt::Horizontal, client_);
    hScroll_->setObjectName("HorizontalBar");
    vScroll_ = new QScrollBar(Qt::Vertical, client_);
    vScroll_->setObjectName("VerticalBar");
    for (QScrollBar* bar : {hScroll_, vScroll_}) {
        // The bars run from 0 down to -32300 in the game; Qt's run upwards.
        bar->setRange(0, -kScrollMax);
        bar->setFocusPolicy(Qt::NoFocus);
    }
    // The player moving the view takes it over from a glide.
    const auto barMoved = [this] {
        if (syncing_) return;
        StopGlide();
        const int h = -hScroll_->value(), v = -vScroll_->value();
        Show([h, v](Session& g) {
            ScrollMapHorizontally(g, h);
            ScrollMapVertically(g, v);
        });
    };
    connect(hScroll_, &QScrollBar::valueChanged, this, barMoved);
    connect(vScroll_, &QScrollBar::valueChanged, this, barMoved);
    glide_ = new QVariantAnimation(this);
    glide_->setDuration(250);  // a quarter of a second at most: the war moves on meanwhile
    glide_->setEasingCurve(QEasingCurve::OutCubic);
    connect(glide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const QPoint at = value.toPointF().toPoint();
        const bool wasSyncing = syncing_;
        syncing_ = true;
        hScroll_->setValue(-at.x());
        vScroll_->setValue(-at.y());
        syncing_ = wasSyncing;
        map_->ScrollTo(at.x(), at.y());
    });
    connect(glide_, &QVariantAnimation::finished, this, [this] {
        map_->HoldScroll(false);
        Sync();
    });
    map_->SetScrollBars(hScroll_, vScroll_);
}

void MainWindow::StartGlide() {
    const MainWindowShown& m = game_.shown.main;
    const QPointF from(-hScroll_->value(), -vScroll_->value());
    const QPointF to(m.hScroll, m.vScroll);
    glide_->stop();
    if (from == to || !isVisible()) return;
    map_->HoldScroll(true);
    glide_->setStartValue(from);
    glide_->setEndValue(to);
    glide_->start();
}

void MainWindow::StopGlide() {
    if (glide_->state() != QAbstractAnimation::Running) return;
    glide_->stop();
    map_->HoldScroll(false);
}

void MainWindow::SyncScrollBars() {
    const MainWindowShown& m = game_.shown.main;
    if (m.glideSerial != appliedGlide_) {
        appliedGlide_ = m.glideSerial;
        StartGlide();
    }
    // The glide carries the bars to where the game has the view.
    if (glide_->state() == QAbstractAnimation::Running) return;
    if (hScroll_->value() != -m.hScroll) hScroll_->setValue(-m.hScroll);
    if (vScroll_->value() != -m.vScroll) vScroll_->setValue(-m.vScroll);
}

}  // namespace tarvex::ui
