// The settings screen: nation, message speed, Enter-to-advance, the computer's
// strength; keypad and F1 keys.
#include "ui/settings/settings_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include "rules/world/strength.h"
#include "screens/session/keycodes.h"
#include "screens/settings/settings.h"
#include "ui/map/territory_picture.h"
#include "ui/qt/common.h"
#include "ui/qt/key_preview.h"
#include "ui/qt/preferences.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {

namespace {

// The list shows each nation with its cities at the start; the box takes the bare name.
constexpr int kEntryLabel = SettingsWindow::kEntryLabelRole;

class ChooserEntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant label = index.data(kEntryLabel);
        if (label.isValid()) option->text = label.toString();
    }
};

}  // namespace

SettingsWindow::SettingsWindow(Session& game, QtScreen& screen, QWidget* parent)
    : QWidget(parent, Qt::Window), game_(game), screen_(screen) {
    setObjectName("SettingsWindow");
    setWindowTitle(QStringLiteral("設定画面"));
    setFont(GameFont());

    QGroupBox* speed = BuildSpeedBox();
    QGroupBox* strength = BuildStrengthBox();
    BuildEnterAdvance();
    QLabel* nationLabel = BuildNationChooser();
    LayOut(speed, strength, nationLabel, BuildButtons());

    keys_ = new KeyPreview(this, [this](QKeyEvent* event, QWidget*) { return PreviewKey(event); });
    screen_.AddView(this, [this] { Sync(); });
    screen_.Gate().AddGameWindow(this);

    // The window's load: the remembered settings go into the controls.
    game_.StrengthChoice = RememberedStrength();
    OpenSettingsScreen(game_);
    Sync();
    resize(std::max(sizeHint().width(), Twips(6600)), sizeHint().height());
}

QGroupBox* SettingsWindow::BuildSpeedBox() {
    auto* speed = new QGroupBox(QStringLiteral("メッセージスピード"), this);
    speed->setObjectName("SpeedBox");
    auto* speedLayout = new QVBoxLayout(speed);
    optionGroup_ = new QButtonGroup(this);
    const std::array<const char*, 4> captions{"1.かなり速い", "2..速い", "3.普通", "4.遅い"};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(Qs(captions[i]), speed);
        option->setObjectName(QString("SpeedChoice%1").arg(i));
        optionGroup_->addButton(option, i);
        speedLayout->addWidget(option);
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !syncing_) Run([i](Session& g) { ChooseMessageSpeed(g, i); });
        });
        options_[i] = option;
    }

    return speed;
}

QGroupBox* SettingsWindow::BuildStrengthBox() {
    // Beside the speed: how well the computer plays the new game, 7 to 9 on the keypad.
    strengthBox_ = new QGroupBox(QStringLiteral("コンピュータの強さ"), this);
    strengthBox_->setObjectName("StrengthBox");
    auto* strengthLayout = new QVBoxLayout(strengthBox_);
    strengthGroup_ = new QButtonGroup(this);
    for (int level = kStandardStrength; level <= kStrongest; ++level) {
        auto* option = new QRadioButton(Qs(StrengthName(level)), strengthBox_);
        option->setObjectName(QString("StrengthChoice%1").arg(level));
        strengthGroup_->addButton(option, level);
        strengthLayout->addWidget(option);
        connect(option, &QRadioButton::toggled, this, [this, level](bool on) {
            if (on && !syncing_) Run([level](Session& g) { ChooseStrength(g, level); });
        });
    }
    strengthLayout->addStretch(1);
    return strengthBox_;
}

void SettingsWindow::BuildEnterAdvance() {
    enterAdvance_ = new QCheckBox(QStringLiteral("5.メッセージEnter送り(チェックなしは、1ターン自動)"), this);
    enterAdvance_->setObjectName("EnterAdvanceCheck");
    connect(enterAdvance_, &QCheckBox::toggled, this, [this](bool on) {
        if (!syncing_) Run([on](Session& g) { SetEnterAdvance(g, on ? 1 : 0); });
    });
}

QLabel* SettingsWindow::BuildNationChooser() {
    auto* nationLabel = new QLabel(QStringLiteral("6.プレイヤーキャラクターは？"), this);
    nationLabel->setObjectName("NationLabel");
    // The name is typed as ever; the list under it offers every nation, and watching.
    chooser_ = new QComboBox(this);
    chooser_->setObjectName("NationChooser");
    chooser_->setEditable(true);
    chooser_->setInsertPolicy(QComboBox::NoInsert);
    // No completion: what the box shows is what is typed, and what accept takes.
    chooser_->setCompleter(nullptr);
    chooser_->setItemDelegate(new ChooserEntryDelegate(chooser_));
    chooser_->setIconSize(QSize(kSwatchSize, kSwatchSize));
    chooser_->setMaxVisibleItems(18);
    QPixmap blank(kSwatchSize, kSwatchSize);
    blank.fill(Qt::transparent);
    for (const NationEntry& entry : NationChoices()) {
        chooser_->addItem(entry.nation > 0 ? NationSwatch(entry.nation) : QIcon(blank), Qs(entry.name));
        chooser_->setItemData(chooser_->count() - 1, Qs(entry.label), kEntryLabel);
    }
    nationName_ = chooser_->lineEdit();
    nationName_->setObjectName("NationNameBox");
    nationName_->setPlaceholderText(Qs(NationChoices().front().label));
    nationLabel->setBuddy(chooser_);
    chooser_->installEventFilter(this);
    connect(nationName_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!syncing_) Run([text = text.toStdString()](Session& g) { TypeNationName(g, text); });
    });
    // An entry chosen from the list, by mouse or arrow: its bare name goes into the box.
    connect(chooser_, &QComboBox::activated, this, [this](int index) {
        if (syncing_) return;
        const QString name = chooser_->itemText(index);
        if (nationName_->text() != name) nationName_->setText(name);
        Run([name = name.toStdString()](Session& g) { TypeNationName(g, name); });
    });

    return nationLabel;
}

std::array<QPushButton*, 4> SettingsWindow::BuildButtons() {
    auto* accept = new QPushButton(QStringLiteral("ＯＫですか"), this);
    accept->setObjectName("OkButton");
    accept->setDefault(true);
    accept_ = accept;
    connect(accept, &QPushButton::clicked, this, [this] {
        Run([this](Session& g) {
            AcceptSettings(g);
            if (g.shown.settings.open) return;
            KeepChoices();
            emit accepted();
        });
    });
    // After a crash the autosave is newer than the last orderly end: one click goes on with it.
    resumeButton_ = new QPushButton(QStringLiteral("前回の続きから"), this);
    resumeButton_->setObjectName("ResumeButton");
    resumeButton_->setVisible(AutosaveOutlivedTheLastEnd(QString::fromStdString(screen_.AutosavePath(game_))));
    connect(resumeButton_, &QPushButton::clicked, this, [this] {
        Run([this](Session& g) {
            AcceptSettings(g);
            if (g.shown.settings.open) return;
            KeepChoices();
            resume_ = true;
            resumeButton_->hide();
            emit accepted();
        });
    });
    auto* defaults = new QPushButton(QStringLiteral("初期設定に戻す"), this);
    defaults->setObjectName("DefaultsButton");
    connect(defaults, &QPushButton::clicked, this, [this] { Run(RestoreDefaultSettings); });
    auto* help = new QPushButton(QStringLiteral("ヘルプ"), this);
    help->setObjectName("SettingsHelpButton");
    connect(help, &QPushButton::clicked, this, [this] { Run(ShowSettingsHelp); });

    return {accept, resumeButton_, defaults, help};
}

void SettingsWindow::LayOut(QGroupBox* speed, QGroupBox* strength, QLabel* nationLabel,
                            const std::array<QPushButton*, 4>& row) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    // The computer's strength stands beside the speed.
    auto* choices = new QHBoxLayout;
    choices->addWidget(speed, 1);
    choices->addWidget(strength, 1);
    layout->addLayout(choices);
    layout->addWidget(enterAdvance_);
    layout->addWidget(nationLabel);
    layout->addWidget(chooser_);
    // OK, resume and defaults at the left, help at the right.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(row[0]);
    buttons->addWidget(row[1]);
    buttons->addWidget(row[2]);
    buttons->addStretch(1);
    buttons->addWidget(row[3]);
    layout->addLayout(buttons);
    for (QPushButton* button : row) {
        button->setMinimumHeight(Twips(375));
        button->setMinimumWidth(button->sizeHint().width() + 16);
    }
}

SettingsWindow::~SettingsWindow() { screen_.RemoveView(this); }

void SettingsWindow::Run(const std::function<void(Session&)>& handler) {
    screen_.Act(this, game_, [this, handler] { handler(game_); });
}

void SettingsWindow::ShowForward() {
    Sync();
    show();
    raise();
    activateWindow();
    // The name is what a player most often changes: ready to be typed over.
    FocusName();
}

void SettingsWindow::Release() {
    if (isHidden()) destroy();
}

void SettingsWindow::Sync() {
    const bool wasSyncing = syncing_;
    syncing_ = true;
    const SettingsShown& s = game_.shown.settings;
    const QString text = Qs(s.nationName);
    ShowChosenEntry(text);
    if (nationName_->text() != text) nationName_->setText(text);
    CheckOnly(optionGroup_, s.option);
    CheckOnly(strengthGroup_, s.strength);
    strengthBox_->setEnabled(!s.strengthFixed);
    const QString strengthTip =
        s.strengthFixed ? QStringLiteral("いまのゲームの強さです。新しいゲームを始めるときに選べます")
                        : QStringLiteral("新しいゲームのコンピュータの強さです（テンキーの7〜9でも選べます）");
    if (strengthBox_->toolTip() != strengthTip) strengthBox_->setToolTip(strengthTip);
    enterAdvance_->setChecked(s.check == 1);
    ApplyFocusRequest();
    if (!s.open && !isHidden()) hide();
    syncing_ = wasSyncing;
}

void SettingsWindow::CheckOnly(QButtonGroup* group, int chosen) {
    if (QAbstractButton* option = group->button(chosen)) {
        group->setExclusive(true);
        option->setChecked(true);
        return;
    }
    // No option chosen: an exclusive group cannot show that.
    group->setExclusive(false);
    for (QAbstractButton* option : group->buttons()) option->setChecked(false);
    group->setExclusive(true);
}

void SettingsWindow::KeepChoices() {
    if (!game_.shown.settings.strengthFixed) RememberStrength(game_.StrengthChoice);
}

void SettingsWindow::ShowChosenEntry(const QString& name) {
    // "*" is what an empty name becomes once accepted: watching, too. A name of no
    // entry chooses none, so that no nation's colour stands beside it.
    const int index = name == "*" ? 0 : chooser_->findText(name, Qt::MatchExactly);
    if (index == chooser_->currentIndex()) return;
    // Choosing the entry would write its name into the box: keep the box's own text.
    const QString kept = nationName_->text();
    const int cursor = nationName_->cursorPosition();
    chooser_->setCurrentIndex(index);
    if (nationName_->text() != kept) {
        nationName_->setText(kept);
        nationName_->setCursorPosition(cursor);
    }
}

void SettingsWindow::ApplyFocusRequest() {
    const FocusRequest& f = game_.shown.settings.focus;
    if (f.serial == appliedFocusSerial_) return;
    appliedFocusSerial_ = f.serial;
    if (f.control == Control::NationName) FocusName();
}

void SettingsWindow::FocusName() {
    applyingFocus_ = true;
    nationName_->setFocus(Qt::OtherFocusReason);
    nationName_->selectAll();
    applyingFocus_ = false;
}

bool SettingsWindow::PreviewKey(QKeyEvent* event) {
    const int code = GameKeyCode(event);
    if (code == 0) return false;
    if (code == kKeyEnter) {
        // Enter presses the button that has the focus, and "ＯＫですか" from anywhere else.
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        (focused ? focused : accept_)->click();
        return true;
    }
    Run([code](Session& g) { PressSettingsKey(g, code); });
    // The screen's own keys choose on the screen; they are not typed into the nation's name.
    return code == kKeyF1 || (KeyPadDigit(code) >= 1 && KeyPadDigit(code) <= 9);
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    // The chooser takes the focus for its box, and hands the box its key and focus events.
    if (watched == chooser_ && event->type() == QEvent::FocusIn && !applyingFocus_ && !syncing_) {
        Run(FocusNationName);
        // A click places the caret after the focus arrives; choose the whole text once it has.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, nationName_, [edit = nationName_] {
                if (edit->hasFocus()) edit->selectAll();
            });
    }
    return QWidget::eventFilter(watched, event);
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    Run(CloseSettings);
    event->accept();
}

}  // namespace tarvex::ui
