// The map of Europe with the city panels, the help panels and the scroll position.
#include "ui/map/map_view.h"

#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <set>
#include <vector>

#include "rules/world/scenario.h"
#include "screens/main/main_window.h"
#include "ui/map/map_picture.h"
#include "ui/map/overview_map.h"
#include "ui/map/territory_picture.h"
#include "ui/qt/common.h"
#include "ui/qt/fit_text.h"

namespace tarvex::ui {

namespace {

// Space around the docked help panels, in pixels.
constexpr int kDockMargin = 4;

// Twips to pixels for offsets that run negative (the scroll position).
int Px(int twips) { return twips >= 0 ? Twips(twips) : -Twips(-twips); }

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

}  // namespace

// The scrolled surface: the coloured map of the part in view, the pointer's land named in a tooltip.
class MapSurface : public QWidget {
public:
    explicit MapSurface(MapView* view) : QWidget(view), view_(view) {
        setObjectName("MapSurface");
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(kMapPictureWidth, kMapPictureHeight);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        view_->Territory().Paint(painter, event->rect());
    }

    bool event(QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            const auto* help = static_cast<QHelpEvent*>(event);
            const int city = view_->Territory().CityAt(help->pos());
            if (city == 0) {
                QToolTip::hideText();
                event->ignore();
            } else {
                QToolTip::showText(help->globalPos(), view_->LandName(city), this);
            }
            return true;
        }
        return QWidget::event(event);
    }

private:
    MapView* view_;
};

// A mark drawn over the panels: it lets every click through and paints only its own lines.
class MapMarker : public QWidget {
public:
    MapMarker(QWidget* parent, const char* name) : QWidget(parent) {
        setObjectName(name);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }
};

// The arrow of a battle from the attacking city to the defending one, over the panels.
class BattleArrow : public MapMarker {
public:
    explicit BattleArrow(QWidget* parent) : MapMarker(parent, "battleArrow") {}

    // Shows the arrow between two cities' panels, or hides it for (0, 0).
    void Show(int from, int to) {
        if (from == from_ && to == to_) return;
        from_ = from;
        to_ = to;
        if (from == 0 || to == 0) {
            hide();
            return;
        }
        const QPointF a = PanelCentre(from), b = PanelCentre(to);
        setGeometry(QRectF(a, b).normalized().adjusted(-kMargin, -kMargin, kMargin, kMargin).toAlignedRect());
        raise();
        show();
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF origin = geometry().topLeft();
        QPointF a = PanelCentre(from_) - origin, b = PanelCentre(to_) - origin;
        const QLineF line(a, b);
        if (line.length() < 1) return;
        // From the attacker's panel's edge to the defender's, when there is room between them.
        const QPointF unit = (b - a) / line.length();
        const double start = std::min(line.length() / 3, EdgeDistance(unit));
        const double end = std::min(line.length() / 3, EdgeDistance(unit) + 4);
        a += unit * start;
        b -= unit * end;
        const QPointF normal(-unit.y(), unit.x());
        QPolygonF head;
        head << b << b - unit * 16 + normal * 8 << b - unit * 16 - normal * 8;
        for (const auto& [colour, width] : {std::pair{QColor(255, 255, 255, 230), 8.0}, {QColor(200, 20, 20), 4.0}}) {
            painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(colour);
            painter.drawLine(a, b - unit * 12);
            painter.drawPolygon(head);
        }
    }

private:
    static constexpr int kMargin = 14;

    // How far from a folded panel's middle its edge lies in a direction.
    static double EdgeDistance(QPointF unit) {
        const double halfW = kPanelWidth / 30.0, halfH = kPanelCollapsed / 30.0;
        const double dx = std::abs(unit.x()) > 1e-9 ? halfW / std::abs(unit.x()) : 1e9;
        const double dy = std::abs(unit.y()) > 1e-9 ? halfH / std::abs(unit.y()) : 1e9;
        return std::min(dx, dy);
    }

    int from_ = 0;
    int to_ = 0;
};

// A red frame around the panel of the city giving its order.
class ActingFrame : public MapMarker {
public:
    explicit ActingFrame(QWidget* parent) : MapMarker(parent, "actingFrame") {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(QColor(210, 20, 20), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    }
};

namespace {

struct HelpText {
    const char* panel;
    int left, top, width, height;
    const char* text;
    const char* closeButton;
};

// In a row right of the side panel, at the top of the first view: clear of the player's
// nation in its middle, and whole in the smallest window.
constexpr std::array<HelpText, kHelpPanelCount> kHelpTexts{{
    {"CityHelpPanel", 7230, 240, 1575, 2175,
     "国の詳細を見るときは、国の番号か、国名をクリックしてください。閉じるときも、もう一度クリックしてください。",
     "CityHelpClose"},
    {"NationHelpPanel", 8925, 240, 1935, 2175, "国家情報、過去の戦闘データはメニューで見られます", "NationHelpClose"},
    {"ButtonsHelpPanel", 4095, 240, 3015, 2175,
     "ボタンについて "
     "ＯＫボタンはＥｎｔｅｒキーで「1.移動」とか数字のついたボタンは「テンキー」でCancelはテンキーの「小数点」あるい"
     "はカーソルキーでOKから移動して、マウスを使わずに使えます",
     "ButtonsHelpClose"},
    {"InputHelpPanel", 10980, 240, 1575, 2175,
     "移動先をリストから選ぶときは左右の、数値を入力するときは上下のカーソルキーでえらべます。", "InputHelpClose"},
}};

// The help panels from left to right, as they stood on the map.
std::array<int, kHelpPanelCount> HelpOrder() {
    std::array<int, kHelpPanelCount> order{};
    for (int i = 0; i < kHelpPanelCount; ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [](int a, int b) { return kHelpTexts[a].left < kHelpTexts[b].left; });
    return order;
}

// Where a delegated city's "委" stands on its panel's owner line, in twips.
constexpr int kMarkLeft = 1590;

struct ValueSlot {
    const char* caption;
    const char* name;
    int captionLeft, top, valueLeft;
};

// The eight values of an expanded panel, in the order CityPanel lists them.
constexpr std::array<ValueSlot, 8> kValueSlots{{
    {"国力", "CityPower", 120, 600, 600},
    {"町", "CityTown", 120, 840, 600},
    {"城", "CityCastle", 120, 1080, 600},
    {"食料", "CityFood", 120, 1320, 600},
    {"金", "CityGold", 960, 600, 1440},
    {"兵", "CityTroops", 960, 840, 1440},
    {"武装", "CityArms", 960, 1080, 1440},
    {"民度", "CityCivility", 960, 1320, 1440},
}};

}  // namespace

MapView::MapView(QWidget* parent) : QWidget(parent) {
    setObjectName("mapView");
    // Beyond the map's edges (the bars reach past them, a large window sees past them) lies sea.
    Paint(this, kMapSea);
    surface_ = new MapSurface(this);
    overview_ = new OverviewMap(this);
    connect(overview_, &OverviewMap::centreRequested, this, &MapView::centreRequested);
    // The coloured map is made before the panels: what its making needs for a moment is
    // given back before they take theirs, so the two never add up.
    Territory();
    for (int city = 1; city <= kCityCount; ++city) BuildCityPanel(city);
    BuildHelpPanels();
    arrow_ = new BattleArrow(surface_);
    acting_ = new ActingFrame(surface_);
    PlaceOverview();
}

MapView::~MapView() = default;

QWidget* MapView::Surface() const { return surface_; }

TerritoryPicture& MapView::Territory() {
    // Built for the density of the screen the map is on; again if the window moves to another.
    const qreal ratio = surface_->devicePixelRatioF();
    if (!territory_ || territory_->Ratio() != ratio) {
        territory_ = std::make_unique<TerritoryPicture>(ratio);
        territory_->SetOwners(Coloured());
        RefreshOverview();
    }
    return *territory_;
}

WarMapShown MapView::Coloured() const {
    WarMapShown war = war_;
    if (past_) war.nation = *past_;
    return war;
}

void MapView::ShowPast(const std::array<int, kCityCount + 1>* owners,
                       const std::array<std::string, kCityCount + 1>* names) {
    if (owners ? past_ == *owners : !past_) return;
    if (owners)
        past_ = *owners;
    else
        past_.reset();
    pastNames_ = names ? *names : std::array<std::string, kCityCount + 1>{};
    for (int city = 1; city <= kCityCount; ++city) ShowOwner(city);
    if (!territory_) return;
    surface_->update(territory_->SetOwners(Coloured()));
    RefreshOverview();
}

QString MapView::LandName(int city) const { return IsValidCity(city) ? Qs(war_.landName[city]) : QString(); }

void MapView::PlaceOverview() {
    // A fifth of the view's width, from a twentieth of the surface to a tenth, in the
    // surface's proportions; it outlines the view.
    const int width = std::clamp(this->width() / 5, kMapPictureWidth / 20, kMapPictureWidth / 10);
    const QSize size(width + 2, width * kMapPictureHeight / kMapPictureWidth + 2);
    const bool resized = overview_->size() != size;
    // It never hides a city's panel (nor a help panel): from the lower right corner it moves
    // along the foot of the view, then up its right side, to the first place free of panels;
    // with none free it steps aside until the view moves. Not while the player drags on it.
    const bool dragged = overview_->isVisible() && (QApplication::mouseButtons() & Qt::LeftButton) &&
                         overview_->rect().contains(overview_->mapFromGlobal(QCursor::pos()));
    if (!dragged || resized) {
        constexpr int kGap = 6;
        std::vector<QRect> panels;
        for (int city = 1; city <= kCityCount; ++city)
            panels.push_back(cities_[city].panel->geometry().translated(surface_->pos()));
        for (const QFrame* help : help_)
            if (help && !help->isHidden()) panels.push_back(help->geometry().translated(surface_->pos()));
        const auto free = [&](const QRect& place) {
            if (place.intersects(sidePanels_)) return false;
            return std::none_of(panels.begin(), panels.end(), [&](const QRect& p) { return p.intersects(place); });
        };
        const QPoint corner(this->width() - size.width() - kGap, this->height() - size.height() - kGap);
        std::vector<QPoint> places;
        for (int x = corner.x(); x >= kGap; x -= size.width() / 2) places.emplace_back(x, corner.y());
        for (int y = corner.y() - size.height() / 2; y >= kGap; y -= size.height() / 2)
            places.emplace_back(corner.x(), y);
        const auto spot =
            std::find_if(places.begin(), places.end(), [&](const QPoint& at) { return free(QRect(at, size)); });
        overview_->setGeometry(QRect(spot != places.end() ? *spot : corner, size));
        overview_->setVisible(overviewWanted_ && spot != places.end());
    }
    overview_->raise();
    if (resized && territory_) RefreshOverview();
    overview_->SetView(QRect(scroll_, this->size() * 15));
}

void MapView::RefreshOverview() {
    // Drawn at the screen's density, inside the small map's one-pixel frame.
    const qreal ratio = overview_->devicePixelRatioF();
    QImage picture = territory_->Overview((overview_->size() - QSize(2, 2)) * ratio);
    picture.setDevicePixelRatio(ratio);
    overview_->SetPicture(picture);
}

void MapView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceOverview();
}

void MapView::BuildCityPanel(int city) {
    const QString n = QString::number(city);
    CityWidgets& w = cities_[city];
    auto* panel = new QFrame(surface_);
    panel->setObjectName("CityPanel" + n);
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel->setLineWidth(1);
    Paint(panel, QApplication::palette().color(QPalette::Button));
    const PanelPosition& p = kPanelPositions[city];
    Place(panel, p.left, p.top, kPanelWidth, kPanelCollapsed);
    w.panel = panel;

    w.num = MakeLabel(panel, "CityNumber" + n, n, TwipRect(120, 120, 240, 240));
    w.name = MakeLabel(panel, "CityName" + n, QString(), TwipRect(360, 120, 1440, 240));
    for (QLabel* label : {w.num, w.name}) {
        label->setProperty("city", city);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }
    w.values[0] = MakeLabel(panel, "CityOwner" + n, QString(), TwipRect(120, 360, 1695, 255));
    Paint(w.values[0], kPaleOrange);
    // A delegated city's mark stands at the end of the owner's line, which gives way to it.
    w.delegated = MakeLabel(panel, "DelegatedMark" + n, QStringLiteral("委"), TwipRect(kMarkLeft, 360, 225, 255));
    w.delegated->setAlignment(Qt::AlignCenter);
    w.delegated->setToolTip(QStringLiteral("委任中"));
    w.delegated->setFont(Emboldened(w.delegated->font()));
    Paint(w.delegated, kDelegatedMark);
    QPalette markPalette = w.delegated->palette();
    markPalette.setColor(QPalette::WindowText, Qt::white);
    w.delegated->setPalette(markPalette);
    w.delegated->hide();
}

void MapView::BuildCityBody(int city) {
    // The values sit in their own layer so that a folded panel shows only number, name and owner;
    // made when the panel first unfolds, since most never do and each costs its labels.
    const QString n = QString::number(city);
    CityWidgets& w = cities_[city];
    w.body = new QWidget(w.panel);
    w.body->setGeometry(0, 0, Twips(kPanelWidth), Twips(kPanelExpanded));
    w.body->setAttribute(Qt::WA_TransparentForMouseEvents);
    w.body->hide();
    for (std::size_t i = 0; i < kValueSlots.size(); ++i) {
        const ValueSlot& slot = kValueSlots[i];
        MakeLabel(w.body, QString(), slot.caption, TwipRect(slot.captionLeft, slot.top, 495, 240));
        w.values[i + 1] = MakeLabel(w.body, slot.name + n, QString(), TwipRect(slot.valueLeft, slot.top, 375, 255));
    }
}

void MapView::BuildHelpPanels() {
    for (int i = 0; i < kHelpPanelCount; ++i) {
        const HelpText& h = kHelpTexts[i];
        auto* panel = new QFrame(surface_);
        panel->setObjectName(h.panel);
        panel->setFrameStyle(QFrame::Box | QFrame::Plain);
        Paint(panel, QColor(255, 255, 225));
        const QRect box = TwipRect(h.left, h.top, h.width, h.height);
        panel->setGeometry(box);

        // The heading and "閉じる" share the top row, leaving the rest to the text.
        constexpr int kMargin = 5;
        constexpr int kButtonWidth = 48;
        constexpr int kButtonHeight = 20;
        const QFont headingFont = Emboldened(GameFont(9));
        QLabel* heading = MakeLabel(panel, QString(), QStringLiteral("ヘルプ"),
                                    QRect(kMargin, 3, box.width() - kButtonWidth - 2 * kMargin, kButtonHeight));
        heading->setFont(headingFont);
        auto* close = new QPushButton(QStringLiteral("閉じる"), panel);
        close->setObjectName(h.closeButton);
        close->setFocusPolicy(Qt::NoFocus);
        close->setGeometry(box.width() - kButtonWidth - 3, 3, kButtonWidth, kButtonHeight);
        connect(close, &QPushButton::clicked, this, [this, i] { emit helpClosed(i); });

        int textBottom = box.height() - kMargin;
        if (i == kHelpNation) {
            auto* look = new QPushButton(QStringLiteral("見る"), panel);
            look->setObjectName("NationHelpLook");
            look->setFocusPolicy(Qt::NoFocus);
            look->setGeometry(kMargin, box.height() - kButtonHeight - kMargin, kButtonWidth, kButtonHeight);
            connect(look, &QPushButton::clicked, this, [this] { emit nationRequested(); });
            textBottom = look->y() - 2;
        }
        const QString message = Qs(h.text);
        const QRect textArea(kMargin, kButtonHeight + 6, box.width() - 2 * kMargin, textBottom - kButtonHeight - 6);
        QLabel* text = MakeLabel(panel, QString(h.panel) + "Text", message, textArea);
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // The largest size at which the whole text fits its panel.
        text->setFont(
            ShrinkToFit(GameFont(9), [&](const QFont& f) { return WrapsWithin(f, message, textArea.size()); }));
        help_[i] = panel;
    }
}

void MapView::SetScrollBars(QScrollBar* horizontal, QScrollBar* vertical) {
    hBar_ = horizontal;
    vBar_ = vertical;
}

void MapView::ScrollTo(int hScroll, int vScroll) {
    surface_->move(Px(hScroll), Px(vScroll));
    scroll_ = QPoint(-hScroll, -vScroll);
    PlaceOverview();
}

void MapView::Sync(const MainWindowShown& shown, const WarMapShown& war) {
    SyncWar(shown, war);
    for (int city = 1; city <= kCityCount; ++city) {
        const CityPanel& p = shown.panels[city];
        CityWidgets& w = cities_[city];
        const std::array<const std::string*, 9> texts{&p.owner, &p.power,  &p.town, &p.castle,  &p.food,
                                                      &p.gold,  &p.troops, &p.arms, &p.civility};
        const auto setText = [](QLabel* label, const std::string& text) { SetFittedText(label, Qs(text)); };
        if (!p.id.empty()) setText(w.num, p.id);
        setText(w.name, p.name);
        if (p.expanded && !w.body) BuildCityBody(city);
        if (w.body)
            for (std::size_t i = 1; i < texts.size(); ++i) setText(w.values[i], *texts[i]);
        w.owner = p.owner;
        w.playerColour = p.playerColour;
        if (w.marked != war.delegated[city]) {
            w.marked = war.delegated[city];
            w.values[0]->resize(Twips(w.marked ? kMarkLeft - 30 - 120 : 1695), w.values[0]->height());
            w.delegated->setVisible(w.marked);
        }
        ShowOwner(city);
        if (w.expanded != p.expanded || w.panel->height() == 0) {
            w.expanded = p.expanded;
            w.panel->resize(Twips(kPanelWidth), Twips(p.expanded ? kPanelExpanded : kPanelCollapsed));
            if (w.body) w.body->setVisible(p.expanded);
        }
    }
    // Docked, the shown panels stand side by side in the order they had on the map.
    int dockLeft = kDockMargin;
    for (const int i : HelpOrder()) {
        const HelpText& h = kHelpTexts[i];
        if (helpDock_) {
            help_[i]->move(dockLeft, kDockMargin);
            if (shown.helpVisible[i]) dockLeft += help_[i]->width() + kDockMargin;
        } else {
            help_[i]->move(Twips(h.left) + Twips(shown.helpLeft), Twips(h.top) + Twips(shown.helpTop));
        }
        help_[i]->setVisible(shown.helpVisible[i]);
    }
    if (scrollHeld_)
        PlaceOverview();
    else
        ScrollTo(shown.hScroll, shown.vScroll);
}

void MapView::DockHelpPanels(QWidget* dock) {
    helpDock_ = dock;
    for (QFrame* panel : help_) panel->setParent(dock);
}

int MapView::HelpDockHeight() const {
    int height = 0;
    for (const QFrame* panel : help_)
        if (panel && !panel->isHidden()) height = std::max(height, panel->height() + 2 * kDockMargin);
    return height;
}

void MapView::ShowOwner(int city) {
    CityWidgets& w = cities_[city];
    if (!w.panel) return;
    // A past season's owners stand on the panels as on the land, so the two agree.
    const bool past = past_.has_value();
    const int pastOwner = past ? (*past_)[city] : 0;
    SetFittedText(w.values[0], Qs(past ? pastNames_[city] : w.owner));
    const bool players = past ? pastOwner != 0 && pastOwner == war_.playerNation : w.playerColour;
    const int colour = players ? 1 : 0;
    if (w.colour == colour) return;
    w.colour = colour;
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    Paint(w.num, players ? kPlayerOrange : buttonFace);
    Paint(w.name, players ? kPlayerOrange : buttonFace);
}

void MapView::SyncWar(const MainWindowShown& shown, const WarMapShown& war) {
    const bool ownersChanged =
        war.nation != war_.nation || war.playerNation != war_.playerNation || war.delegated != war_.delegated;
    war_ = war;
    if (ownersChanged && territory_) {
        surface_->update(territory_->SetOwners(Coloured()));
        RefreshOverview();
    }
    overviewWanted_ = shown.overviewVisible;

    // The city giving its order stands in a red frame, laid over its panel's edge.
    actingCity_ = war.actingCity;
    if (IsValidCity(actingCity_)) {
        acting_->setGeometry(cities_[actingCity_].panel->geometry().adjusted(-3, -3, 3, 3));
        acting_->raise();
        acting_->show();
    } else {
        acting_->hide();
    }
    arrow_->Show(war.battleFrom, war.battleTo);
}

bool MapView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QVariant city = watched->property("city");
        if (mouse->button() == Qt::LeftButton && city.isValid()) {
            emit panelClicked(city.toInt());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MapView::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const bool sideways = std::abs(delta.x()) > std::abs(delta.y()) || event->modifiers().testFlag(Qt::ShiftModifier);
    QScrollBar* bar = sideways ? hBar_ : vBar_;
    if (!bar) return QWidget::wheelEvent(event);
    const int steps = (sideways && delta.x() != 0 ? delta.x() : delta.y()) / 120;
    bar->setValue(bar->value() - steps * bar->pageStep() / 4);
    event->accept();
}

}  // namespace tarvex::ui
