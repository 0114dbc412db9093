// What the game remembers between runs, kept with QSettings.
#include "ui/qt/preferences.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>

#include "rules/world/strength.h"

namespace tarvex::ui {

namespace {

// Organisation and program alike: ~/.config/Tarvex/Tarvex.conf on Linux.
QSettings Store() { return QSettings(QStringLiteral("Tarvex"), QStringLiteral("Tarvex")); }

constexpr std::array<const char*, kHelpPanelCount> kHelpKeys{"help/citiesClosed", "help/nationClosed",
                                                             "help/buttonsClosed", "help/numbersClosed"};

}  // namespace

void LoadPreferences(MainWindowShown& shown) {
    QSettings store = Store();
    for (int i = 0; i < kHelpPanelCount; ++i) shown.helpClosed[i] = store.value(kHelpKeys[i], false).toBool();
    shown.followWar = store.value("view/followWar", true).toBool();
    shown.autoPlay = store.value("turn/autoPlay", false).toBool();
}

void SavePreferences(const MainWindowShown& shown) {
    QSettings store = Store();
    const auto keep = [&store](const char* key, bool value) {
        if (!store.contains(key) || store.value(key).toBool() != value) store.setValue(key, value);
    };
    for (int i = 0; i < kHelpPanelCount; ++i) keep(kHelpKeys[i], shown.helpClosed[i]);
    keep("view/followWar", shown.followWar);
    keep("turn/autoPlay", shown.autoPlay);
}

int RememberedStrength() {
    bool number = false;
    const int level = Store().value("game/strength", kStandardStrength).toInt(&number);
    return number && IsStrength(level) ? level : kStandardStrength;
}

void RememberStrength(int level) {
    QSettings store = Store();
    if (IsStrength(level) && store.value("game/strength").toInt() != level) store.setValue("game/strength", level);
}

QByteArray SavedWindowGeometry() { return Store().value("window/geometry").toByteArray(); }

void SaveWindowGeometry(const QByteArray& geometry) { Store().setValue("window/geometry", geometry); }

QDateTime LastOrderlyEnd() { return Store().value("run/lastOrderlyEnd").toDateTime(); }

void NoteOrderlyEnd() {
    QSettings store = Store();
    store.setValue("run/lastOrderlyEnd", QDateTime::currentDateTimeUtc());
    // The program leaves at once after this: write it now.
    store.sync();
}

bool AutosaveOutlivedTheLastEnd(const QString& autosavePath) {
    const QFileInfo autosave(autosavePath);
    if (autosavePath.isEmpty() || !autosave.isFile()) return false;
    const QDateTime end = LastOrderlyEnd();
    return !end.isValid() || autosave.lastModified().toUTC() > end;
}

QRect StartGeometry(const QRect& available, const QSize& minimum) {
    const QSize wanted = available.size() * 0.8;
    const QSize size(std::max(wanted.width(), minimum.width()), std::max(wanted.height(), minimum.height()));
    QRect place(QPoint(0, 0), size);
    place.moveCenter(available.center());
    // A screen smaller than the layout: the window's top left stays on it, whatever is cut.
    place.moveLeft(std::max(place.left(), available.left()));
    place.moveTop(std::max(place.top(), available.top()));
    return place;
}

}  // namespace tarvex::ui
