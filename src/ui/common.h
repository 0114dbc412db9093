// Small helpers every window shares: twips to pixels, the game's key codes,
// the game's fonts and colours, and where the shipped data lies.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QKeyEvent;
class QWidget;

namespace tarvex::ui {

// Lengths are laid out in twips, as the game states them: 15 twips a logical pixel.
constexpr int Twips(int twips) { return (twips + 7) / 15; }

// The game's key code for a Qt key event: Enter 13, arrows 37..40, keypad
// digits 96..105 (only with the keypad modifier), keypad point 110, F1 112;
// letters and main-keyboard digits map to their ASCII upper-case codes (which
// no game key uses); everything else to 0.
int GameKeyCode(const QKeyEvent* event);

// Noto Sans CJK JP when installed; the nation list's fixed-width face.
QFont GameFont(int pointSize = 9);
QFont FixedWidthFont(int pointSize = 9);

inline const QColor kPlayerOrange(255, 192, 128);  // the player's cities
inline const QColor kPaleOrange(255, 224, 192);    // message lines, owner labels
inline const QColor kPaleCyan(192, 255, 255);      // labels of the command panels

// A shipped data file (help page, map): beside the executable first
// (build tree: <exe dir>/data or the source tree's data/), then the install
// prefix's share/tarvex. Empty when not found.
QString FindDataFile(const QString& relative);

}  // namespace tarvex::ui
