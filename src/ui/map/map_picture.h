// The map of Europe under the city panels: the size of its picture, its fixed
// colours and the land outline read from the shipped map asset.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QString>

namespace tarvex::ui {

// The picture covers the whole surface, the last partial pixel row included.
constexpr int kMapPictureWidth = (48000 + 14) / 15;   // 3200
constexpr int kMapPictureHeight = (35000 + 14) / 15;  // 2334

inline const QColor kMapSea(150, 176, 196);   // muted blue, so the panels stand out
inline const QColor kMapCoast(128, 112, 86);  // 1 px coastline

// Reads the land outline (integer twips, map-surface coordinates) from an asset
// file. False with a reason in `error` when the file is missing or damaged;
// `land` is left untouched then. The outline is filled even-odd (lakes and
// inland seas are rings inside the land).
//
// The file is text: a header line
//   tarvex-land 1 48000 35000 <rings> <points>
// then one line per ring: its point count (3 or more), the first point's x and
// y, then every further point as its difference from the point before.
bool LoadLandPath(const QString& path, QPainterPath* land, QString* error);

}  // namespace tarvex::ui
