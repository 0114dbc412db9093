// What the game remembers between runs, apart from the save: the main window's
// size and place, the help panels the player closed, following the war,
// playing by itself and how well the computer plays a new game. Kept with QSettings.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QRect>
#include <QSize>
#include <QString>

#include "screens/session/session.h"

namespace tarvex::ui {

// Reads the remembered choices into the window's state; the defaults where none is kept.
void LoadPreferences(MainWindowShown& shown);
// Keeps the choices for the next run, when they differ from what is kept.
void SavePreferences(const MainWindowShown& shown);
// The main window's geometry as QWidget::saveGeometry gave it last; empty before the first run.
QByteArray SavedWindowGeometry();
// "コンピュータの強さ" of the last game started; the standard level before the first
// (or when what is kept is no level).
int RememberedStrength();
void RememberStrength(int level);
void SaveWindowGeometry(const QByteArray& geometry);

// The program's last orderly end (the quit question answered), for telling a crash
// from it; invalid before the first.
QDateTime LastOrderlyEnd();
void NoteOrderlyEnd();
// An autosave newer than the last orderly end: the game before it ended without one.
bool AutosaveOutlivedTheLastEnd(const QString& autosavePath);

// Where the main window opens the first time: about four fifths of the screen's free
// area, never below the layout's smallest size (nor above the free area unless that is
// smaller still), in the middle of it.
QRect StartGeometry(const QRect& available, const QSize& minimum);

}  // namespace tarvex::ui
