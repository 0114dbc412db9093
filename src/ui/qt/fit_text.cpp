#include "ui/qt/fit_text.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QVariant>

namespace tarvex::ui {
namespace {

constexpr const char* kBaseFont = "tarvexBaseFont";
constexpr const char* kShortened = "tarvexShortened";
constexpr const char* kFittedFor = "tarvexFittedFor";

// The label's own font before any fitting changed it.
QFont BaseFont(QLabel* label) {
    const QVariant stored = label->property(kBaseFont);
    if (stored.isValid()) return stored.value<QFont>();
    label->setProperty(kBaseFont, label->font());
    return label->font();
}

// Room for the text inside a label of `width` pixels.
int TextRoom(const QLabel* label, int width) {
    const int frame = label->width() - label->contentsRect().width();
    return width - frame - 2 * label->margin() - std::max(label->indent(), 0);
}

int Advance(const QFont& font, const QString& text) { return QFontMetrics(font).horizontalAdvance(text); }

// Sets font, text and tooltip for a text that must fit `room` pixels.
// False when it already was: windows are synchronised often, and the same
// text in the same room is fitted once.
bool ShowWithin(QLabel* label, const QString& text, int room) {
    const QString key = QString::number(room) + '|' + text;
    if (label->property(kFittedFor).toString() == key) return false;
    label->setProperty(kFittedFor, key);
    const QFont base = BaseFont(label);
    const QFont font = ShrinkToFit(base, [&](const QFont& f) { return Advance(f, text) <= room; });
    QString shown = text;
    if (Advance(font, text) > room) shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, room);
    if (label->font() != font) label->setFont(font);
    if (label->text() != shown) label->setText(shown);
    const bool whole = shown == text && Advance(base, text) <= room;
    label->setToolTip(whole ? QString() : text);
    label->setProperty(kShortened, shown != text);
    return true;
}

}  // namespace

bool WrapsWithin(const QFont& font, const QString& text, const QSize& room) {
    return QFontMetrics(font).boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, text).height() <=
           room.height();
}

QFont ShrinkToFit(QFont base, const std::function<bool(const QFont&)>& fits) {
    if (fits(base)) return base;
    int pixels = QFontInfo(base).pixelSize();
    base.setPixelSize(pixels);
    for (int stretch = 100; stretch > kNarrowestStretch && !fits(base); stretch -= 5) base.setStretch(stretch - 5);
    while (pixels > kSmallestPixels && !fits(base)) base.setPixelSize(--pixels);
    return base;
}

void SetFittedText(QLabel* label, const QString& text) { ShowWithin(label, text, TextRoom(label, label->width())); }

void SetFittedAutoSizeText(QLabel* label, const QString& text, int room) {
    if (!ShowWithin(label, text, TextRoom(label, room))) return;
    label->adjustSize();
    if (label->width() > room) label->resize(room, label->height());
}

bool TextFitsLabel(const QLabel* label) {
    if (label->property(kShortened).toBool()) return false;
    const QString text = label->text();
    if (text.isEmpty() || label->textFormat() == Qt::RichText ||
        (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
        return true;
    if (const QWidget* parent = label->parentWidget(); parent && !parent->rect().contains(label->geometry()))
        return false;
    const int room = TextRoom(label, label->width());
    if (!label->wordWrap()) return QFontMetrics(label->font()).horizontalAdvance(text) <= room;
    return WrapsWithin(label->font(), text, QSize(room, label->contentsRect().height() - 2 * label->margin()));
}

}  // namespace tarvex::ui
