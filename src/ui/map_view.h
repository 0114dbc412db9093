// The map of Europe under the main window: 75 city panels, the help panels,
// the decorative lines and the scroll position, all drawn from the shown state.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>

#include "screens/session/session.h"

class QLabel;
class QFrame;
class QPushButton;
class QScrollBar;

namespace tarvex::ui {

class MapView : public QWidget {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);

    // Panels, help panels and the surface's place, as the game last left them.
    void Sync(const MainWindowShown& shown);

    // The scrolled surface ("Picture1"), 48000 x 35000 twips.
    QWidget* Surface() const { return surface_; }
    // A wheel turned over the map moves these bars.
    void SetScrollBars(QScrollBar* horizontal, QScrollBar* vertical);

    // The whole map surface with its lines and the mountains' name, rendered once per run.
    static const QImage& SurfaceImage();

signals:
    // The number or name of a city's panel was clicked.
    void panelClicked(int city);
    // A help panel's "閉じる".
    void helpClosed(int panel);
    // The nation help panel's "見る".
    void nationRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct CityWidgets {
        QFrame* panel = nullptr;
        QLabel* num = nullptr;
        QLabel* kuni = nullptr;
        QWidget* body = nullptr;          // captions and values, shown when unfolded
        std::array<QLabel*, 9> values{};  // Ryoshu, then the eight values
        bool expanded = false;
        int colour = -1;  // 1 player's, 0 other, -1 not yet drawn
    };

    void BuildCityPanel(int city);
    void BuildHelpPanels();

    QWidget* surface_ = nullptr;
    std::array<CityWidgets, kCityCount + 1> cities_{};
    std::array<QFrame*, kHelpPanelCount> help_{};
    QScrollBar* hBar_ = nullptr;
    QScrollBar* vBar_ = nullptr;
};

}  // namespace tarvex::ui
