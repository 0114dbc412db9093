// The event window "イベント": the autumn event and every city it touched.
#include "ui/events/event_window.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "screens/events/event_window.h"
#include "screens/main/auto_play.h"
#include "screens/session/session.h"
#include "ui/qt/common.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {

namespace {
constexpr int kListWidth = 7800;  // twips
}  // namespace

EventWindow::EventWindow(Session& game, QtScreen& screen, QWidget* parent)
    : GameDialog(parent, "EventWindow", "イベント"), game_(game), screen_(screen) {
    setFixedSize(Twips(120 + kListWidth + 120), Twips(4200 + 375 + 120));

    // Wide enough for a typhoon's line in the longest city's name; a larger
    // type than the game's wraps rather than hiding the numbers at the end.
    lines_ = new QListWidget(this);
    lines_->setObjectName("EventLines");
    Place(lines_, 120, 120, kListWidth, 4020);
    lines_->setWordWrap(true);
    lines_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    okButton_ = new QPushButton("OK", this);
    okButton_->setObjectName("OkButton");
    okButton_->setDefault(true);
    Place(okButton_, 120 + kListWidth - 1095, 4200, 1095, 375);
    connect(okButton_, &QPushButton::clicked, this, [this] { Confirm(); });
    screen_.Gate().AddGameWindow(this);
}

EventWindow::~EventWindow() {
    if (registered_) screen_.RemoveView(this);
}

void EventWindow::Run() {
    OpenEventWindow(game_);
    screen_.AddView(this, [this] { Sync(); });
    registered_ = true;
    Sync();
    okButton_->setFocus();
    // A game that plays itself gives the event a few messages' time to be read, then its own
    // OK; not while paused.
    QTimer ownOk;
    ownOk.setInterval(static_cast<int>(OwnOkSeconds(game_) * 1000));
    connect(&ownOk, &QTimer::timeout, this, [this] {
        if (PlaysItself(game_)) Confirm();
    });
    ownOk.start();
    if (!Finished()) exec();
    screen_.RemoveView(this);
    registered_ = false;
}

bool EventWindow::Finished() const { return closing_; }

void EventWindow::Sync() {
    const std::vector<std::string>& lines = game_.EventLines;
    bool same = lines_->count() == static_cast<int>(lines.size());
    for (int row = 0; same && row < lines_->count(); ++row) same = lines_->item(row)->text() == Qs(lines[row]);
    if (!same) {
        lines_->clear();
        for (const std::string& line : lines) lines_->addItem(Qs(line));
    }
}

void EventWindow::Confirm() {
    if (closing_) return;
    screen_.Act(this, game_, [this] {
        if (closing_) return;
        CloseEventWindow(game_);
        if (!closing_) {
            closing_ = true;
            accept();
        }
    });
}

}  // namespace tarvex::ui
