// The battle screen "戦闘画面": tactic buttons, the tactic table, both sides'
// values and morale bars, drawn from the battle in progress.
#include "ui/battle/battle_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "rules/combat/tables.h"
#include "rules/world/scenario.h"
#include "screens/battle/battle_screen.h"
#include "screens/session/session.h"
#include "ui/qt/common.h"
#include "ui/qt/fit_text.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {

namespace {

// Each tactic's chance stands in a column between its button and the table.
constexpr int kOddsColumn = 900;
constexpr int kClientWidth = 5085 + kOddsColumn;
// Under the morale bars: what the chances assume, and what a key could not do.
constexpr int kNotesTop = 5160;
constexpr int kClientHeight = kNotesTop + 600;
constexpr int kBarBoxWidth = 1455;
constexpr int kBarBoxHeight = 240;

const QColor kPowerCell(255, 224, 192);  // the power column stands out from the bonuses
const QColor kAttackBar(224, 64, 64);
const QColor kDefendBar(64, 96, 224);

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int height) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    Place(label, left, top, width, height);
    return label;
}

bool IsModifierOnly(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
            return true;
        default:
            return false;
    }
}

}  // namespace

BattleWindow::BattleWindow(Session& game, QtScreen& screen, QWidget* parent)
    : GameDialog(parent, "BattleWindow", "戦闘画面"), game_(game), screen_(screen) {
    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName("menuBar");
    nationEntry_ = menuBar->addAction("国家情報(&K)");
    nationEntry_->setObjectName("NationEntry");
    quitEntry_ = menuBar->addAction("緊急終了(&Q)");
    quitEntry_->setObjectName("QuitEntry");

    auto* contents = new QWidget(this);
    contents->setObjectName("contents");
    contents->setFixedSize(Twips(kClientWidth), Twips(kClientHeight));
    BuildContents(contents);

    StackMenuAndContents(menuBar, contents);

    connect(nationEntry_, &QAction::triggered, this, [this] { Act([this] { ShowNationsInBattle(game_); }); });
    connect(quitEntry_, &QAction::triggered, this, [this] { Act([this] { QuitInBattle(game_); }); });

    // The battle screen reads every key before its buttons do (keypad digits
    // choose the tactic); the menu bar keeps its own keys for its navigation.
    installEventFilter(this);
    for (QWidget* child : contents->findChildren<QWidget*>()) child->installEventFilter(this);
    contents->installEventFilter(this);
    screen_.Gate().AddGameWindow(this);
}

BattleWindow::~BattleWindow() {
    if (registered_) screen_.RemoveView(this);
}

void BattleWindow::BuildContents(QWidget* contents) {
    const QFont headingFont = BuildHeadings(contents);
    BuildTactics(contents);
    BuildTacticTable(contents, headingFont);
    BuildSides(contents);
    BuildBarsAndNotes(contents);
}

QFont BattleWindow::BuildHeadings(QWidget* contents) {
    MakeLabel(contents, "OwnTacticsHeading", "↓自軍の態勢", 120, 240, 1560, 300);

    // The two headings over the table wrap into the space above its first
    // row; smaller type with close lines lets all of them stand there.
    QFont headingFont = GameFont(9);
    headingFont.setPixelSize(10);
    auto heading = [&](const char* name, const char* text, int left, int width) {
        auto* label = MakeLabel(contents, name, "", left, 120, width, 600);
        label->setFont(headingFont);
        label->setTextFormat(Qt::RichText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->setText(QString("<div style=\"line-height:90%; white-space:pre-wrap\">%1</div>")
                           .arg(QString(text).toHtmlEscaped()));
    };
    heading("TableHeading", "敵に損害を与える値と敵側の態勢に対する士気低下のボーナス値　　　↓", 1800 + kOddsColumn,
            2220);
    heading("CostHeading", "↓金、米の消費パーセント", 4080 + kOddsColumn, 975);
    MakeLabel(contents, "OddsHeading", "↓見込み", 1740, 240, kOddsColumn - 60, 300);

    return headingFont;
}

void BattleWindow::BuildTactics(QWidget* contents) {
    static const char* const kTacticButtons[5] = {"1.通常攻撃", "2.突撃", "3.包囲", "4.射撃", "5.防御"};
    for (int index = 0; index < 5; ++index) {
        auto* button = new QPushButton(kTacticButtons[index], contents);
        button->setObjectName(QString("TacticButton%1").arg(index));
        button->setAutoDefault(false);
        Place(button, 120, 600 + 480 * index, 1560, 435);
        connect(button, &QPushButton::clicked, this, [this, index] { ChooseTactic(index); });
        tactics_[index] = button;
        auto* odds = MakeLabel(contents, "", "", 1740, 600 + 480 * index, kOddsColumn - 60, 435);
        odds->setObjectName(QString("TacticOdds%1").arg(index));
        odds->setAlignment(Qt::AlignCenter);
        tacticOdds_[index] = odds;
    }
}

void BattleWindow::BuildTacticTable(QWidget* contents, const QFont& headingFont) {
    // The tactic table: one row per own tactic, power first, cost last.
    for (int row = 1; row <= kTacticCount; ++row) {
        for (int index = 0; index <= 6; ++index) {
            auto* cell = new QLabel(QString::number(TacticTable[index][row]), contents);
            cell->setObjectName(QString("TacticCell%1_%2").arg(row).arg(index));
            Place(cell, 1800 + kOddsColumn + 360 * index, 720 + 480 * (row - 1), 345, 240);
            cell->setAlignment(Qt::AlignCenter);
            cell->setFrameShape(QFrame::Box);
            cell->setAutoFillBackground(true);
            QPalette palette = cell->palette();
            palette.setColor(QPalette::Window, index == 0 ? kPowerCell : QColor(Qt::white));
            palette.setColor(QPalette::WindowText, Qt::black);
            cell->setPalette(palette);
        }
    }
    static const char* const kColumnCaptions[7] = {"威力", "通常", "突撃", "包囲", "射撃", "防御", "消費"};
    for (int index = 0; index <= 6; ++index) {
        auto* caption =
            MakeLabel(contents, "", kColumnCaptions[index], 1800 + kOddsColumn + 360 * index, 3000, 360, 300);
        caption->setObjectName(QString("ColumnCaption%1").arg(index));
        caption->setFont(headingFont);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
}

void BattleWindow::BuildSides(QWidget* contents) {
    fightButton_ = new QPushButton("OK", contents);
    fightButton_->setObjectName("FightButton");
    fightButton_->setAutoDefault(false);
    Place(fightButton_, 120, 3000, 1560, 435);
    connect(fightButton_, &QPushButton::clicked, this, [this] { FightRound(); });

    static const int kTops[5] = {3600, 3840, 4080, 4680, 4920};
    static const char* const kAttackCaptions[5] = {"攻撃側作戦", "攻撃側士気", "攻撃側兵力", "攻撃側国", "攻撃側街"};
    static const char* const kDefendCaptions[5] = {"防御側作戦", "防御側士気", "防御側兵力", "防御側国", "防御側街"};
    for (int index = 0; index < 5; ++index) {
        MakeLabel(contents, QString("AttackerCaption%1").arg(index), kAttackCaptions[index], 120, kTops[index], 960,
                  240);
        MakeLabel(contents, QString("DefenderCaption%1").arg(index), kDefendCaptions[index], 2400, kTops[index], 960,
                  240);
        attackerLabels_[index] = MakeLabel(contents, "", QString::number(index), 1080, kTops[index], 1305, 240);
        attackerLabels_[index]->setObjectName(QString("AttackerValue%1").arg(index));
        defenderLabels_[index] = MakeLabel(contents, "", QString::number(index), 3360, kTops[index], 1650, 240);
        defenderLabels_[index]->setObjectName(QString("DefenderValue%1").arg(index));
    }
}

void BattleWindow::BuildBarsAndNotes(QWidget* contents) {
    auto makeBar = [contents](const char* boxName, const char* barName, int left, const QColor& colour, QFrame** box,
                              QFrame** bar) {
        *box = new QFrame(contents);
        (*box)->setObjectName(boxName);
        Place(*box, left, 4320, kBarBoxWidth, kBarBoxHeight);
        (*box)->setFrameShape(QFrame::Box);
        (*box)->setAutoFillBackground(true);
        QPalette boxPalette = (*box)->palette();
        boxPalette.setColor(QPalette::Window, Qt::white);
        (*box)->setPalette(boxPalette);
        *bar = new QFrame(*box);
        (*bar)->setObjectName(barName);
        (*bar)->setAutoFillBackground(true);
        QPalette barPalette = (*bar)->palette();
        barPalette.setColor(QPalette::Window, colour);
        (*bar)->setPalette(barPalette);
        (*bar)->setGeometry(0, 0, 0, Twips(kBarBoxHeight));
    };
    oddsNote_ = MakeLabel(contents, "OddsNote", "", 120, kNotesTop, kClientWidth - 240, 240);
    missing_ = MakeLabel(contents, "MissingNote", "", 120, kNotesTop + 270, kClientWidth - 240, 240);
    QPalette warn = missing_->palette();
    warn.setColor(QPalette::WindowText, QColor(192, 0, 0));
    missing_->setPalette(warn);
    makeBar("AttackerMoraleBox", "AttackerMoraleBar", 120, kAttackBar, &attackBar_, &attackMorale_);
    makeBar("DefenderMoraleBox", "DefenderMoraleBar", 2400, kDefendBar, &defendBar_, &defendMorale_);
}

void BattleWindow::PlaceBesideTheCities() {
    const BattleState& b = game_.Battle;
    QWidget* owner = parentWidget();
    auto* map = owner ? owner->findChild<QWidget*>("mapView") : nullptr;
    if (!map || !IsValidCity(b.AttackCity) || !IsValidCity(b.DefendCity)) return;
    // Where the two panels stand once the view has glided to them, on the screen.
    const MainWindowShown& m = game_.shown.main;
    QRect cities;
    for (const int city : {b.AttackCity, b.DefendCity}) {
        const auto* panel = map->findChild<QWidget*>(QString("CityPanel%1").arg(city));
        if (!panel) return;
        const PanelPosition& p = kPanelPositions[city];
        const QPoint onMap(Twips(p.left + m.hScroll), Twips(p.top + m.vScroll));
        cities |= QRect(map->mapToGlobal(onMap), panel->size());
    }
    cities.adjust(-12, -12, 12, 12);
    const QScreen* screen = owner->screen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    adjustSize();
    const QSize size = frameGeometry().size().expandedTo(sizeHint());
    const int middleY = cities.center().y() - size.height() / 2;
    const int middleX = cities.center().x() - size.width() / 2;
    // Beside the two cities, on whichever side has room; over them only when none has.
    const QPoint tries[] = {{cities.right() + 1, middleY},
                            {cities.left() - size.width(), middleY},
                            {middleX, cities.bottom() + 1},
                            {middleX, cities.top() - size.height()}};
    for (const QPoint& at : tries) {
        QRect place(at, size);
        place.moveLeft(std::clamp(place.left(), room.left(), std::max(room.left(), room.right() - size.width())));
        place.moveTop(std::clamp(place.top(), room.top(), std::max(room.top(), room.bottom() - size.height())));
        if (!place.intersects(cities)) {
            move(place.topLeft());
            return;
        }
    }
}

void BattleWindow::Run() {
    OpenBattleScreen(game_);
    screen_.AddView(this, [this] { Sync(); });
    registered_ = true;
    Sync();
    PlaceBesideTheCities();
    if (!Finished()) exec();
    screen_.RemoveView(this);
    registered_ = false;
}

bool BattleWindow::Finished() const { return closing_ || !game_.shown.battle.open; }

void BattleWindow::Sync() {
    const BattleShown& shown = game_.shown.battle;
    for (int index = 0; index < 5; ++index) {
        SetFittedText(attackerLabels_[index], Qs(shown.attacker[index]));
        SetFittedText(defenderLabels_[index], Qs(shown.defender[index]));
        tactics_[index]->setEnabled(shown.tacticsEnabled);
        SetFittedText(tacticOdds_[index], Qs(shown.tacticOdds[index]));
        tacticOdds_[index]->setToolTip(shown.tacticOdds[index].empty() ? QString() : Qs(shown.oddsNote));
    }
    SetFittedText(oddsNote_, Qs(shown.oddsNote));
    SetFittedText(missing_, Qs(shown.missing));
    fightButton_->setEnabled(shown.okEnabled);
    const int barHeight = Twips(kBarBoxHeight);
    attackMorale_->setGeometry(
        0, 0, std::min(Twips(MoraleBarWidth(game_.Battle.AttackMorale, kBarBoxWidth)), attackBar_->width()), barHeight);
    defendMorale_->setGeometry(
        0, 0, std::min(Twips(MoraleBarWidth(game_.Battle.DefendMorale, kBarBoxWidth)), defendBar_->width()), barHeight);

    if (!closing_ && !shown.open) {
        closing_ = true;
        if (isVisible()) accept();
    }
}

void BattleWindow::Act(const std::function<void()>& handler) {
    screen_.Act(this, game_, [this, handler] {
        if (!closing_) handler();
    });
}

void BattleWindow::ChooseTactic(int index) {
    Act([this, index] { ChoosePlayerTactic(game_, index); });
}

void BattleWindow::FightRound() {
    Act([this] { FightNextRound(game_); });
}

bool BattleWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const int key = keyEvent->key();
        // Modifiers alone are halves of a menu chord, and Tab moves between
        // the buttons; neither is a key the battle answers.
        if (IsModifierOnly(key) || key == Qt::Key_Tab || key == Qt::Key_Backtab) return false;
        Act([this, code = GameKeyCode(keyEvent)] { PressBattleKey(game_, code); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tarvex::ui
