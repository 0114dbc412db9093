// The one way out of the program: unwinding the game's end through Qt's loops.
#include "ui/qt/way_out.h"

#include <QApplication>
#include <QDialog>
#include <algorithm>
#include <cstdio>

#include "rules/port/screen.h"
#include "ui/qt/preferences.h"

namespace tarvex::ui {

bool WayOut::Catch(const std::function<void()>& call) {
    if (begun_) return false;
    try {
        call();
    } catch (const ProgramEnded&) {
        // Begin has stopped the loops; the calls that waited in them unwind in turn.
        return false;
    }
    return true;
}

void WayOut::Begin() {
    if (begun_) return;
    begun_ = true;
    // Boxes and modal windows (the battle, the event, a chart, a file chooser)
    // leave their loops as they close; done() asks no question on the way.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
            dialog->done(QDialog::Rejected);
    for (const QPointer<QEventLoop>& loop : loops_)
        if (loop) loop->quit();
    if (leaveMainLoop) leaveMainLoop();
}

void WayOut::Wait(const std::function<void()>& wait) {
    if (begun_) throw ProgramEnded{};
    wait();
    if (begun_) throw ProgramEnded{};
}

void WayOut::Wait(QEventLoop& loop) {
    if (begun_) throw ProgramEnded{};
    loops_.emplace_back(&loop);
    loop.exec();
    std::erase_if(loops_, [&loop](const QPointer<QEventLoop>& l) { return l.isNull() || l == &loop; });
    if (begun_) throw ProgramEnded{};
}

void WayOut::Leave() {
    for (const auto& step : steps_) step();
    steps_.clear();
    if (begun_) NoteOrderlyEnd();
    std::fflush(nullptr);
}

}  // namespace tarvex::ui
