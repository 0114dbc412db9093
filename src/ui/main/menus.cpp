// The main window's menu bar: what each entry calls, and which entries are live.
#include <QAction>
#include <QActionGroup>
#include <QMenuBar>

#include "screens/main/auto_play.h"
#include "screens/main/autosave.h"
#include "screens/main/main_window.h"
#include "screens/main/quit.h"
#include "screens/map/follow.h"
#include "screens/map/war_map.h"
#include "screens/orders/delegation.h"
#include "screens/settings/settings.h"
#include "ui/main/main_window.h"
#include "ui/qt/common.h"

namespace tarvex::ui {

QMenu* MainWindow::AddMenu(const char* name, const char* caption) {
    QMenu* menu = menuBar()->addMenu(Qs(caption));
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(QString(name) + "Action");
    return menu;
}

QAction* MainWindow::AddEntry(QMenu* menu, const char* name, const char* caption,
                              const std::function<void(Session&)>& handler, EntryKind kind) {
    QAction* action = menu->addAction(Qs(caption));
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, handler, kind] {
        if (kind == EntryKind::Game)
            Run(handler);
        else
            Show(handler);
    });
    return action;
}

void MainWindow::BuildMenus() {
    BuildGameMenus();
    BuildViewMenus();
    BuildChangeMenu();
    BuildHelpMenu();
}

void MainWindow::BuildGameMenus() {
    QMenu* saveLoad = AddMenu("SaveLoadMenu", "セーブ/ロード(&A)");
    AddEntry(saveLoad, "QuitEntry", "終了(&E)", QuitFromMenu);
    AddEntry(saveLoad, "SaveEntry", "セーブ(&S)", SaveFromMenu);
    AddEntry(saveLoad, "LoadEntry", "ロード(&L)", LoadFromMenu);
    AddEntry(saveLoad, "AutosaveEntry", "オートセーブから再開(&R)", LoadAutosave);

    delegationMenu_ = AddMenu("DelegationMenu", "委任/委任解除(&B)");
    AddEntry(delegationMenu_, "DelegateEntry", "委任(&I)", OpenDelegation);
    AddEntry(delegationMenu_, "EndDelegationEntry", "委任解除(&K)", OpenEndDelegation);
}

void MainWindow::BuildViewMenus() {
    // A top-level entry that acts itself, with no entries under it.
    QAction* nation = menuBar()->addAction(QStringLiteral("国家情報(&N)"));
    nation->setObjectName("NationEntry");
    connect(nation, &QAction::triggered, this, [this] { Show(ShowNationScreen); });

    QMenu* citiesMenu = AddMenu("CitiesMenu", "国情報(&C)");
    openAll_ = AddEntry(citiesMenu, "OpenAllEntry", "全国開く(&O)", OpenAllCityPanels, EntryKind::Showing);
    closeAll_ = AddEntry(citiesMenu, "CloseAllEntry", "全国閉じる(&H)", CloseAllCityPanels, EntryKind::Showing);
    overviewEntry_ = AddEntry(citiesMenu, "OverviewEntry", "全体地図(&W)", ToggleOverview, EntryKind::Showing);
    overviewEntry_->setCheckable(true);
    // It only opens a window: no step of the game runs.
    QAction* chronicle = citiesMenu->addAction(QStringLiteral("年代記(&R)"));
    chronicle->setObjectName("ChronicleEntry");
    chronicle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(chronicle, &QAction::triggered, this, [this] { ShowChronicle(); });
}

void MainWindow::BuildChangeMenu() {
    QMenu* changeMenu = AddMenu("ChangeMenu", "変更(&F)");
    AddEntry(changeMenu, "SettingsEntry", "設定(&D)", OpenSettings);
    // Watching: they change only what moves by itself, so they act at once, even in a hold.
    followEntry_ = AddEntry(changeMenu, "FollowEntry", "戦況を追う(&W)", ToggleFollowWar, EntryKind::Showing);
    followEntry_->setCheckable(true);
    autoPlayEntry_ = AddEntry(changeMenu, "AutoPlayEntry", "自動で進める(&A)", ToggleAutoPlay, EntryKind::Showing);
    autoPlayEntry_->setCheckable(true);
    // The settings screen's four speeds; the next message line holds as long as chosen.
    QMenu* speed = changeMenu->addMenu(QStringLiteral("メッセージスピード(&S)"));
    speed->setObjectName("SpeedMenu");
    speed->menuAction()->setObjectName("SpeedEntry");
    auto* speeds = new QActionGroup(speed);
    const std::array<const char*, 4> speedCaptions{"1.かなり速い(&1)", "2..速い(&2)", "3.普通(&3)", "4.遅い(&4)"};
    for (int i = 0; i < 4; ++i) {
        speedEntries_[i] = AddEntry(speed, "", speedCaptions[i], [i](Session& g) { ChooseSpeedInGame(g, i); });
        speedEntries_[i]->setObjectName(QString("SpeedEntry%1").arg(i + 1));
        speedEntries_[i]->setCheckable(true);
        speeds->addAction(speedEntries_[i]);
    }
}

void MainWindow::BuildHelpMenu() {
    QMenu* help = AddMenu("HelpMenu", "ヘルプ(&H)");
    AddEntry(help, "HelpPageEntry", "作者HP(&P)", OpenHelpPage, EntryKind::Showing);
    helpEntries_[kHelpCities] = AddEntry(
        help, "CitiesHelpEntry", "国情報(&K)", [](Session& g) { ShowHelpPanel(g, kHelpCities); }, EntryKind::Showing);
    helpEntries_[kHelpNation] = AddEntry(
        help, "NationHelpEntry", "国家情報(&M)", [](Session& g) { ShowHelpPanel(g, kHelpNation); }, EntryKind::Showing);
    helpEntries_[kHelpButtons] = AddEntry(
        help, "ButtonsHelpEntry", "ボタンについて(&U)", [](Session& g) { ShowHelpPanel(g, kHelpButtons); },
        EntryKind::Showing);
    helpEntries_[kHelpInput] = AddEntry(
        help, "NumbersHelpEntry", "数値入力(&F)", [](Session& g) { ShowHelpPanel(g, kHelpInput); }, EntryKind::Showing);
}

void MainWindow::SyncMenus() {
    const MainWindowShown& m = game_.shown.main;
    delegationMenu_->menuAction()->setEnabled(m.delegationMenu);
    openAll_->setEnabled(m.openAllEnabled);
    closeAll_->setEnabled(m.closeAllEnabled);
    overviewEntry_->setChecked(m.overviewVisible);
    // A help entry waits while its panel is showing.
    for (int i = 0; i < kHelpPanelCount; ++i) helpEntries_[i]->setEnabled(!m.helpVisible[i]);
}

}  // namespace tarvex::ui
