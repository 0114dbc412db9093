// Where the main window's side panels stand and how large they are, in twips:
// the panels are built to it, and the window never shrinks below it.
#pragma once

#include <algorithm>

namespace tarvex::ui {

inline constexpr int kPanelLeft = 240;  // every side panel stands here, over the map
inline constexpr int kPanelTop = 240;
inline constexpr int kIdlePanelWidth = 3735;
inline constexpr int kCommandPanelWidth = 3135;
inline constexpr int kSidePanelHeight = 2295;
// The idle panel is taller: its market box stands below the third message line.
inline constexpr int kIdlePanelHeight = 2700;
inline constexpr int kPanelMargin = 120;  // the room the panels leave at the sides of their texts
inline constexpr int kPanelBorder = 2;    // pixels of the sunken frame around a side panel's contents
// The amount panel's foot holds the gold and food at hand and a refused amount's numbers.
inline constexpr int kAmountPanelHeight = 2760;
// The move and attack panel is wider and taller: both cities' numbers stand under its
// boxes, in columns, with a line for a refusal's numbers and a line to spare.
inline constexpr int kTargetPanelWidth = 3735;
inline constexpr int kTargetPanelHeight = 4140;
inline constexpr int kTallestPanel = std::max({kIdlePanelHeight, kAmountPanelHeight, kTargetPanelHeight});
inline constexpr int kWidestPanel = std::max(kIdlePanelWidth, kTargetPanelWidth);

}  // namespace tarvex::ui
