// What every window test needs: one application object on the offscreen platform,
// and a Qt screen that answers boxes from a queue instead of waiting for a person.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <deque>
#include <set>
#include <utility>

#include "ui/qt/fit_text.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {

inline void EnsureApplication() {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarvex_ui_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    // What the game remembers between runs goes to a folder of the tests' own, never the player's.
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
}

// Each test starts as a first run of the program: nothing remembered.
inline void ForgetPreferences() { QSettings(QStringLiteral("Tarvex"), QStringLiteral("Tarvex")).clear(); }

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
    screen.keepAutosave = false;
    screen.onEnd = [&ends] { ++ends; };
}

// Pairs of controls (object names, either order) that may overlap.
using Overlaps = std::set<std::pair<QString, QString>>;

// Every control the player can see lies wholly inside the container that holds
// it, and no two of them overlap, in `root` and in every plain container below it.
inline void ExpectTidy(QWidget* root, const Overlaps& allowed = {}) {
    std::vector<QWidget*> shown;
    for (QObject* child : root->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow() || !w->isVisibleTo(root) || w->geometry().isEmpty()) continue;
        shown.push_back(w);
    }
    const auto name = [](const QWidget* w) {
        return w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName();
    };
    for (std::size_t i = 0; i < shown.size(); ++i) {
        QWidget* a = shown[i];
        EXPECT_TRUE(root->rect().contains(a->geometry()))
            << name(a).toStdString() << " leaves " << name(root).toStdString() << " " << a->geometry().right() << ","
            << a->geometry().bottom() << " outside " << root->width() << "x" << root->height();
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            QWidget* b = shown[j];
            if (!a->geometry().intersects(b->geometry())) continue;
            if (allowed.count({name(a), name(b)}) || allowed.count({name(b), name(a)})) continue;
            const auto box = [](const QRect& r) {
                return "(" + std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
                       "x" + std::to_string(r.height()) + ")";
            };
            ADD_FAILURE() << name(a).toStdString() << box(a->geometry()) << " overlaps " << name(b).toStdString()
                          << box(b->geometry()) << " in " << name(root).toStdString();
        }
        // Plain containers hold controls of their own; a list, box or button keeps its parts to itself.
        const QMetaObject* kind = a->metaObject();
        if (kind == &QWidget::staticMetaObject || kind == &QFrame::staticMetaObject ||
            kind == &QGroupBox::staticMetaObject)
            ExpectTidy(a, allowed);
    }
}

// Every text the player can see in `root` is seen whole, at a readable size:
// each label's text fits its label, and each list's rows fit its width.
inline void ExpectTextsFit(QWidget* root) {
    const auto where = [root](const QWidget* w, const QString& text) {
        return (root->objectName() + "/" + w->objectName() + ": " + text).toStdString();
    };
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(root)) continue;
        EXPECT_TRUE(TextFitsLabel(label)) << where(label, label->text());
        EXPECT_GE(QFontInfo(label->font()).pixelSize(), kSmallestPixels) << where(label, label->text());
    }
    for (const QListWidget* list : root->findChildren<QListWidget*>()) {
        if (!list->isVisibleTo(root)) continue;
        const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
        const QFontMetrics metrics(list->font());
        for (int row = 0; row < list->count(); ++row) {
            const QString text = list->item(row)->text();
            if (text.contains('\t')) continue;  // columns at tab stops: the nation screen measures its own
            EXPECT_LE(metrics.horizontalAdvance(text) + margins, list->viewport()->width()) << where(list, text);
        }
    }
}

}  // namespace tarvex::ui
