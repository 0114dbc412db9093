// The small map of the whole of Europe in a corner of the map view: the lands in
// their owners' colours and the part in view outlined; a click or a drag moves the view.
#pragma once

#include <QImage>
#include <QWidget>

namespace tarvex::ui {

class OverviewMap : public QWidget {
    Q_OBJECT
public:
    explicit OverviewMap(QWidget* parent = nullptr);

    // The picture of the lands, drawn at the widget's size.
    void SetPicture(const QImage& picture);
    // The part of the surface in view, in twips.
    void SetView(const QRect& twips);
    QRect View() const { return view_; }

signals:
    // This point of the surface, in twips, is to be in the middle of the view.
    void centreRequested(QPoint twips);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPoint ToTwips(QPointF point) const;
    QRectF ToWidget(const QRect& twips) const;

    QImage picture_;
    QRect view_;
};

}  // namespace tarvex::ui
