// The map of Europe under the main window: 75 city panels, the help panels,
// the decorative lines and the scroll position, all drawn from the shown state.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "screens/map/war_map.h"
#include "screens/session/session.h"

class QLabel;
class QFrame;
class QPushButton;
class QScrollBar;

namespace tarvex::ui {

class ActingFrame;
class BattleArrow;
class MapSurface;
class OverviewMap;
class TerritoryPicture;

class MapView : public QWidget {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);
    ~MapView() override;

    // Panels, help panels, the surface's place and the war on it, as the game last left them.
    void Sync(const MainWindowShown& shown, const WarMapShown& war);

    // Shows the surface at a scroll position (twips, 0 .. -32300), between syncs: a glide's steps.
    void ScrollTo(int hScroll, int vScroll);
    // While held, a sync leaves the surface where ScrollTo put it.
    void HoldScroll(bool held) { scrollHeld_ = held; }

    // The scrolled surface ("MapSurface"), 48000 x 35000 twips.
    QWidget* Surface() const;
    // A wheel turned over the map moves these bars.
    void SetScrollBars(QScrollBar* horizontal, QScrollBar* vertical);

    // The coloured map under the panels, built for the surface's screen density on first use.
    TerritoryPicture& Territory();
    // Moves the help panels into `dock`, a strip of the window beside the map, so
    // that they never cover a city panel or the side panel; each still closes.
    void DockHelpPanels(QWidget* dock);
    // The height the dock needs: its tallest shown panel and a margin, 0 when none shows.
    int HelpDockHeight() const;
    // The small map of Europe in the view's corner.
    OverviewMap* Overview() const { return overview_; }
    // The part of the view the side panels cover: the small map keeps out of it.
    void SetSidePanelArea(const QRect& area) { sidePanels_ = area; }
    // "ロンドン（イングランド）": the city under the pointer and its owner, as last synced.
    QString LandName(int city) const;
    // Colours the land by the owners of a past season (1..34 a city), and names
    // them on the city panels (`names`, by city); null for the present.
    void ShowPast(const std::array<int, kCityCount + 1>* owners,
                  const std::array<std::string, kCityCount + 1>* names = nullptr);
    bool ShowsPast() const { return past_.has_value(); }

signals:
    // The number or name of a city's panel was clicked.
    void panelClicked(int city);
    // A help panel's "閉じる".
    void helpClosed(int panel);
    // The nation help panel's "見る".
    void nationRequested();
    // The small map asks for this point of the surface (twips) to be in the middle of the view.
    void centreRequested(QPoint twips);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct CityWidgets {
        QFrame* panel = nullptr;
        QLabel* num = nullptr;
        QLabel* name = nullptr;
        QWidget* body = nullptr;          // captions and values, shown when unfolded; made on the first unfold
        std::array<QLabel*, 9> values{};  // owner, then the eight values (null until the body is made)
        QLabel* delegated = nullptr;      // "委": the player has handed the city to the computer
        bool expanded = false;
        int colour = -1;      // 1 player's, 0 other, -1 not yet drawn
        bool marked = false;  // the "委" mark stands
        std::string owner;    // today's owner and colour, as last synced
        bool playerColour = false;
    };

    void BuildCityPanel(int city);
    void BuildCityBody(int city);
    void BuildHelpPanels();
    void PlaceOverview();
    void RefreshOverview();
    void SyncWar(const MainWindowShown& shown, const WarMapShown& war);
    // A panel's owner line and colour: today's, or the past season's while one is shown.
    void ShowOwner(int city);

    MapSurface* surface_ = nullptr;
    std::unique_ptr<TerritoryPicture> territory_;
    OverviewMap* overview_ = nullptr;
    BattleArrow* arrow_ = nullptr;
    ActingFrame* acting_ = nullptr;
    int actingCity_ = 0;
    QPoint scroll_;  // the view's top-left corner on the surface, twips
    WarMapShown war_;
    std::optional<std::array<int, kCityCount + 1>> past_;  // the owners shown instead of today's
    std::array<std::string, kCityCount + 1> pastNames_{};
    WarMapShown Coloured() const;  // the war as the land shows it
    std::array<CityWidgets, kCityCount + 1> cities_{};
    std::array<QFrame*, kHelpPanelCount> help_{};
    QPointer<QWidget> helpDock_;
    QScrollBar* hBar_ = nullptr;
    QScrollBar* vBar_ = nullptr;
    QRect sidePanels_;
    bool scrollHeld_ = false;
    bool overviewWanted_ = true;
};

}  // namespace tarvex::ui
