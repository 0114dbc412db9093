// The small map of Europe: its picture, the outline of the view and moving the view.
#include "ui/map/overview_map.h"

#include <QMouseEvent>
#include <QPainter>

#include "screens/main/main_window.h"

namespace tarvex::ui {

OverviewMap::OverviewMap(QWidget* parent) : QWidget(parent) {
    setObjectName("overviewMap");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("クリックかドラッグで地図を動かします"));
}

void OverviewMap::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void OverviewMap::SetView(const QRect& twips) {
    if (view_ == twips) return;
    view_ = twips;
    update();
}

QPoint OverviewMap::ToTwips(QPointF point) const {
    const double inside = 1;  // the frame
    const double w = std::max(1.0, width() - 2 * inside), h = std::max(1.0, height() - 2 * inside);
    return {static_cast<int>((point.x() - inside) * kMapWidth / w),
            static_cast<int>((point.y() - inside) * kMapHeight / h)};
}

QRectF OverviewMap::ToWidget(const QRect& twips) const {
    const double inside = 1;
    const double sx = (width() - 2 * inside) / double(kMapWidth), sy = (height() - 2 * inside) / double(kMapHeight);
    return {inside + twips.x() * sx, inside + twips.y() * sy, twips.width() * sx, twips.height() * sy};
}

void OverviewMap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(60, 50, 40));
    painter.drawImage(QRectF(1, 1, width() - 2, height() - 2), picture_);
    // The part in view, kept inside the small map even where the view reaches past the surface.
    const QRectF view = ToWidget(view_).intersected(QRectF(1, 1, width() - 2, height() - 2));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 255, 255), 3));
    painter.drawRect(view.adjusted(1, 1, -1, -1));
    painter.setPen(QPen(QColor(190, 30, 20), 1.5));
    painter.drawRect(view.adjusted(1, 1, -1, -1));
}

void OverviewMap::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit centreRequested(ToTwips(event->position()));
}

void OverviewMap::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) emit centreRequested(ToTwips(event->position()));
}

}  // namespace tarvex::ui
