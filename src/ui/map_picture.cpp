// The picture of Europe under the city panels (placeholder until built: plain sea).
#include "ui/map_picture.h"

#include <QPainter>

#include "ui/common.h"

namespace tarvex::ui {

bool LoadLandPath(const QString&, QPainterPath*, QString* error) {
    if (error) *error = "not built yet";
    return false;
}

QImage RenderMapBackground() {
    QImage image(Twips(48000), Twips(35000), QImage::Format_RGB32);
    image.fill(QColor(120, 160, 200));
    return image;
}

}  // namespace tarvex::ui
