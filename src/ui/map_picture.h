// The picture of Europe under the city panels: land, sea and coasts from the
// shipped map asset, rendered once into an image of the whole map surface.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QString>

namespace tarvex::ui {

// Reads the land outline (integer twips, map-surface coordinates) from an asset
// file. False with a reason in `error` when the file is missing or damaged.
bool LoadLandPath(const QString& path, QPainterPath* land, QString* error);

// The whole 48000 x 35000 twip map surface at one pixel per 15 twips: sea and
// land from the shipped asset, or plain sea when the asset is missing or
// damaged (said once on standard error). Decorations are drawn by the map view.
QImage RenderMapBackground();

}  // namespace tarvex::ui
