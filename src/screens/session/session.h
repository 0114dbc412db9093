// A game played in windows: the rules' game and everything its windows show,
// the main window's own counters among them. Still no Qt: the window layer
// draws from this and writes the player's edits back into it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "rules/world/game.h"

namespace tarvex {

// The side panels of the main window; exactly one is visible at a time.
enum class Panel { Pic1 = 1, Pic2, Pic3, Pic4, Pic5, Pic6, Pic7 };

// Controls the screens may ask to focus (with their whole text selected).
enum class Control { None, TxtPic5, TxtPic6_0, TxtPic6_1, TxtPic6_2, LstPic6, Text1 };

struct FocusRequest {
    Control control = Control::None;
    int serial = 0;  // bumped on every request so the window applies it once
};

// One city's panel on the map, as of its last refresh.
struct CityPanel {
    std::string Num, Kuni, Ryoshu, Kokuryoku, Machi, Siro, Kome, Kin, Hei, Busou, Mindo;
    bool playerColour = false;  // light orange number and name
    bool expanded = false;
};

// The four help panels on the map, in this order.
enum HelpPanel { kHelpKuni = 0, kHelpNation = 1, kHelpButtons = 2, kHelpInput = 3, kHelpPanelCount = 4 };

struct MainWindowShown {
    bool loaded = false;
    std::array<CityPanel, kCityCount + 1> panels;
    Panel activePanel = Panel::Pic1;
    bool lblOkVisible = false;
    bool cmdOkEnabled = true;
    bool tmrOkclick = false;
    bool tmrOk = false;
    bool mnuIninKaijyo = false;
    bool mnuOpen = true;
    bool mnuClose = true;
    std::array<bool, kHelpPanelCount> helpVisible{true, true, true, true};
    int hScroll = 0;  // 0 .. -32300 twips: the map surface's left edge
    int vScroll = 0;  // 0 .. -32300 twips: the map surface's top edge
    // The part of the map in view, in twips, as the window last laid it out;
    // until then the default window's, less its menu bar and scroll bars.
    int viewWidth = 15000 - 225;
    int viewHeight = 7500 - 360 - 225;
    // Command panels
    std::string lblPic2, lblPic5, lblSouba, txtPic5, lblPic6, lblPic7;
    std::vector<std::string> lstPic6;
    int lstPic6Selected = -1;
    std::array<std::string, 3> txtPic6{"0", "0", "0"};
    std::vector<std::string> lstPic7;
    std::vector<int> lstPic7Cities;  // the city of each entry of lstPic7
    int lstPic7Selected = -1;
    FocusRequest focus;
    // The war map: the city whose turn is running (0 between seasons) and the small map of Europe.
    int actingCity = 0;
    bool overviewVisible = true;
};

struct SettingsShown {
    bool open = false;
    bool everAccepted = false;
    std::string text1;
    int option = 2;  // Option1 index chosen, -1 for none
    int check = 0;   // Check1 value
    FocusRequest focus;
};

struct BattleShown {
    bool open = false;  // the battle screen is up
    std::array<std::string, 5> lblAt{"0", "1", "2", "3", "4"};
    std::array<std::string, 5> lblDef{"0", "1", "2", "3", "4"};
    bool comEnabled = true;
    bool okEnabled = false;
};

struct EventShown {
    bool open = false;
};

struct Shown {
    MainWindowShown main;
    SettingsShown settings;
    BattleShown battle;
    EventShown event;
};

struct Session : Game {
    using Game::Game;

    Shown shown;
    // The main window's own counters (never saved).
    int OkLock = 0;         // a held-down Enter makes one step: set until tmrOk fires
    int AmountCursor = 0;   // which of the three amount boxes the arrows reach next
    int ListCursor = 0;     // which target the arrows select next
    bool InOkStep = false;  // an OK step is running; a tick now must not start another

    void CityRefreshed(int city) override;
    void BattleChanged() override;
    void ActingCityChanged(int city) override { shown.main.actingCity = city; }
    bool KeepsCityPanels() const override { return shown.main.loaded; }
};

// The windows' game behind a game the rules hand to a screen; nullptr for a
// game without windows.
Session* SessionOf(Game& game);

// The main window's caption ("1年目の春"), empty until the main window has loaded.
std::string MainCaption(const Session& game);
// The market box: the prices of food, arms and troops; empty until the main window has loaded.
struct PriceTexts {
    std::string kome, buki, hei;  // lblMsgKome, lblMsgBuki, lblMsgHei
};
PriceTexts ShownPrices(const Session& game);

}  // namespace tarvex
