// What every window test needs: one application object on the offscreen platform,
// and a Qt screen that answers boxes from a queue instead of waiting for a person.
#pragma once

#include <QApplication>
#include <deque>

#include "ui/qt_screen.h"

namespace tarvex::ui {

inline void EnsureApplication() {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarvex_ui_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// Boxes take the queued answers in order (OK once the queue is empty), holds
// cost nothing, and ending the program only counts.
inline void AnswerFromQueue(QtScreen& screen, std::deque<Answer>& answers, int& ends) {
    screen.autoAnswer = [&answers](const Question&) {
        if (answers.empty()) return Answer::Ok;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    };
    screen.holdWait = [](double) {};
    screen.onEnd = [&ends] { ++ends; };
}

}  // namespace tarvex::ui
