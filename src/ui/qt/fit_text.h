// Texts that can be longer than the room they stand in: city and nation names,
// panel titles, message lines. Such a text keeps to its room: the type is
// narrowed, then made smaller, down to a size still read easily; only a text
// that does not fit even then is shortened with "…". Whenever the text is not
// shown at full size, the label's tooltip gives it whole.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <functional>

class QLabel;

namespace tarvex::ui {

inline constexpr int kNarrowestStretch = 70;  // per cent of the normal width
inline constexpr int kSmallestPixels = 9;

// The largest font like `base` for which `fits` holds: narrower first, then
// smaller. The narrowest and smallest when nothing fits.
QFont ShrinkToFit(QFont base, const std::function<bool(const QFont&)>& fits);

// Whether `text`, wrapped at words, fits `room` in `font`.
bool WrapsWithin(const QFont& font, const QString& text, const QSize& room);

// Shows `text` in a label whose width stays as laid out.
void SetFittedText(QLabel* label, const QString& text);

// Shows `text` in a label that takes the width of its text, at most `room`
// pixels from its left edge.
void SetFittedAutoSizeText(QLabel* label, const QString& text, int room);

// Whether the label's whole text is seen: not cut off on the right or below,
// not shortened, and the label itself inside its parent.
bool TextFitsLabel(const QLabel* label);

}  // namespace tarvex::ui
