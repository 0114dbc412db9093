// Small helpers every window shares: twips to pixels, the game's key codes,
// the game's fonts and colours, and where the shipped data lies.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <string>

class QKeyEvent;
class QWidget;

namespace tarvex::ui {

// Lengths are laid out in twips, as the game states them: 15 twips a logical pixel.
constexpr int Twips(int twips) { return (twips + 7) / 15; }

// A rectangle given in twips, in logical pixels.
QRect TwipRect(int left, int top, int width, int height);
// Places a widget where the game lays it out, in twips.
void Place(QWidget* widget, int left, int top, int width, int height);
// Gives a widget a solid background of its own.
void Paint(QWidget* widget, const QColor& colour);
// The game's UTF-8 text as a Qt string.
inline QString Qs(const std::string& text) { return QString::fromStdString(text); }
inline QString Qs(const char* text) { return QString::fromUtf8(text); }

// The game's key code for a Qt key event: Enter 13, arrows 37..40, keypad
// digits 96..105 (only with the keypad modifier), keypad point 110, F1 112;
// letters and main-keyboard digits map to their ASCII upper-case codes (which
// no game key uses); everything else to 0.
int GameKeyCode(const QKeyEvent* event);

// Shows a window and paints it before returning: the game may hold right after
// (a message's wait dispatches nothing), and the player must see the window then.
// Only the window system's events run meanwhile, never the player's input; at most a second.
void ShowAndPaint(QWidget* window);

// Noto Sans CJK JP when installed; the nation list's fixed-width face.
QFont GameFont(int pointSize = 9);
QFont FixedWidthFont(int pointSize = 9);
// The font in bold drawn from its regular face: the Japanese bold face is a second large file,
// and reading it for a few headings and the mountains' name would cost memory for nothing.
QFont Emboldened(QFont font);

inline const QColor kPlayerOrange(255, 192, 128);  // the player's cities
inline const QColor kPaleOrange(255, 224, 192);    // message lines, owner labels
inline const QColor kPaleCyan(192, 255, 255);      // labels of the command panels
inline const QColor kDelegatedMark(40, 70, 150);   // a delegated city's "委" and the dashes round its land

// Where the shipped data (help page, map) is looked for, in order: beside the
// executable (<exe dir>/data, then the installed tree's share/tarvex seen from
// its bin/), the source tree's data/ (a build tree), the configured install
// prefix's share/tarvex.
QStringList DataSearchRoots();

// The installed data directory as seen from a program directory
// (<dir>/../share/tarvex for the usual layout); it exists only for an installed game.
QString InstalledDataDirBeside(const QString& programDir);

// A shipped data file under the first root that holds it. Empty when not found.
QString FindDataFile(const QString& relative);

}  // namespace tarvex::ui
