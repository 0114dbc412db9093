// The map of Europe with the city panels, the help panels and the scroll position.
#include "ui/map_view.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <set>

#include "rules/world/scenario.h"
#include "screens/main/main_window.h"
#include "ui/common.h"
#include "ui/map_picture.h"

namespace tarvex::ui {

namespace {

// Twips to pixels for offsets that run negative (the scroll position).
int Px(int twips) { return twips >= 0 ? Twips(twips) : -Twips(-twips); }

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

// The scrolled surface: copies only the part of the cached picture that is in view.
class MapSurface : public QWidget {
public:
    explicit MapSurface(QWidget* parent) : QWidget(parent) {
        setObjectName("Picture1");
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(MapView::SurfaceImage().size());
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        const QRect area = event->rect();
        painter.drawImage(area.topLeft(), MapView::SurfaceImage(), area);
    }
};

struct HelpText {
    const char* panel;
    int left, top, width, height;
    const char* text;
    const char* closeButton;
};

constexpr std::array<HelpText, kHelpPanelCount> kHelpTexts{{
    {"PicPic", 3360, 3720, 1575, 2175,
     "国の詳細を見るときは、国の番号か、国名をクリックしてください。閉じるときも、もう一度クリックしてください。",
     "cmdPicPicClose"},
    {"Picture2", 5520, 3720, 1935, 2175, "国家情報、過去の戦闘データはメニューで見られます", "Command3"},
    {"Picture3", 1320, 3720, 1575, 3375,
     "ボタンについて "
     "ＯＫボタンはＥｎｔｅｒキーで「1.移動」とか数字のついたボタンは「テンキー」でCancelはテンキーの「小数点」あるい"
     "はカーソルキーでOKから移動して、マウスを使わずに使えます",
     "Command4"},
    {"picCur", 3360, 6000, 1575, 2175,
     "移動先をリストから選ぶときは左右の、数値を入力するときは上下のカーソルキーでえらべます。", "Command5"},
}};

struct ValueSlot {
    const char* caption;
    const char* name;
    int captionLeft, top, valueLeft;
};

// The eight values of an expanded panel, in the order CityPanel lists them.
constexpr std::array<ValueSlot, 8> kValueSlots{{
    {"国力", "lblKokuryoku", 120, 600, 600},
    {"町", "lblmachi", 120, 840, 600},
    {"城", "lblSiro", 120, 1080, 600},
    {"食料", "lblKome", 120, 1320, 600},
    {"金", "lblKin", 960, 600, 1440},
    {"兵", "lblHei", 960, 840, 1440},
    {"武装", "lblBusou", 960, 1080, 1440},
    {"民度", "lblMindo", 960, 1320, 1440},
}};

QPoint CityPoint(int city) {
    // The middle of the folded panel: the lines join the panels' heads.
    const PanelPosition& p = kPanelPositions[city];
    return {Twips(p.left + kPanelWidth / 2), Twips(p.top + kPanelCollapsed / 2)};
}

QImage RenderSurface() {
    QImage image = RenderMapBackground();
    if (image.width() < Twips(kMapWidth) || image.height() < Twips(kMapHeight))
        image = image.scaled(std::max(image.width(), Twips(kMapWidth)), std::max(image.height(), Twips(kMapHeight)));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // One line for each pair of neighbouring cities, however many directions the pair is listed in.
    std::set<std::pair<int, int>> pairs;
    for (int from = 1; from <= kCityCount; ++from)
        for (int to : kNeighbours[from]) pairs.insert({std::min(from, to), std::max(from, to)});
    painter.setPen(QPen(QColor(150, 40, 30, 170), 2, Qt::SolidLine, Qt::RoundCap));
    for (auto [a, b] : pairs) painter.drawLine(CityPoint(a), CityPoint(b));

    // The Alps, between Augsburg and Milan, where no panel covers it even when unfolded.
    QFont font = GameFont(14);
    font.setBold(true);
    QPainterPath path;
    path.addText(QPointF(Twips(21700), Twips(19850)), font, QStringLiteral("アルプス山脈"));
    painter.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 60, 30));
    painter.drawPath(path);
    return image;
}

}  // namespace

const QImage& MapView::SurfaceImage() {
    static const QImage image = RenderSurface();
    return image;
}

MapView::MapView(QWidget* parent) : QWidget(parent) {
    setObjectName("mapView");
    // Beyond the map's edges (the bars reach past them, a large window sees past them) lies sea.
    Paint(this, kMapSea);
    surface_ = new MapSurface(this);
    for (int city = 1; city <= kCityCount; ++city) BuildCityPanel(city);
    BuildHelpPanels();
}

void MapView::BuildCityPanel(int city) {
    const QString n = QString::number(city);
    CityWidgets& w = cities_[city];
    auto* panel = new QFrame(surface_);
    panel->setObjectName("pic_" + n);
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel->setLineWidth(1);
    Paint(panel, QApplication::palette().color(QPalette::Button));
    const PanelPosition& p = kPanelPositions[city];
    Place(panel, p.left, p.top, kPanelWidth, kPanelCollapsed);
    w.panel = panel;

    w.num = MakeLabel(panel, "lblNum_" + n, n, TwipRect(120, 120, 240, 240));
    w.kuni = MakeLabel(panel, "lblKuni_" + n, QString(), TwipRect(360, 120, 1440, 240));
    for (QLabel* label : {w.num, w.kuni}) {
        label->setProperty("city", city);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }
    w.values[0] = MakeLabel(panel, "lblRyoshu_" + n, QString(), TwipRect(120, 360, 1695, 255));
    Paint(w.values[0], kPaleOrange);
    // The values sit in their own layer so that a folded panel shows only number, name and owner.
    w.body = new QWidget(panel);
    w.body->setGeometry(0, 0, Twips(kPanelWidth), Twips(kPanelExpanded));
    w.body->setAttribute(Qt::WA_TransparentForMouseEvents);
    w.body->hide();
    for (std::size_t i = 0; i < kValueSlots.size(); ++i) {
        const ValueSlot& slot = kValueSlots[i];
        MakeLabel(w.body, QString(), slot.caption, TwipRect(slot.captionLeft, slot.top, 495, 240));
        w.values[i + 1] =
            MakeLabel(w.body, slot.name + QString("_") + n, QString(), TwipRect(slot.valueLeft, slot.top, 375, 255));
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
        QFont headingFont = GameFont(9);
        headingFont.setBold(true);
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
            look->setObjectName("Command1");
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
        QFont textFont = GameFont(9);
        for (qreal size = 9; size >= 6; size -= 0.5) {
            textFont.setPointSizeF(size);
            const QRect needed =
                QFontMetrics(textFont).boundingRect(QRect(0, 0, textArea.width(), 100000), Qt::TextWordWrap, message);
            if (needed.height() <= textArea.height()) break;
        }
        text->setFont(textFont);
        help_[i] = panel;
    }
}

void MapView::SetScrollBars(QScrollBar* horizontal, QScrollBar* vertical) {
    hBar_ = horizontal;
    vBar_ = vertical;
}

void MapView::Sync(const MainWindowShown& shown) {
    surface_->move(Px(shown.hScroll), Px(shown.vScroll));
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    for (int city = 1; city <= kCityCount; ++city) {
        const CityPanel& p = shown.panels[city];
        CityWidgets& w = cities_[city];
        const std::array<const std::string*, 9> texts{&p.Ryoshu, &p.Kokuryoku, &p.Machi, &p.Siro, &p.Kome,
                                                      &p.Kin,    &p.Hei,       &p.Busou, &p.Mindo};
        const auto setText = [](QLabel* label, const std::string& text) {
            const QString q = Qs(text);
            if (label->text() != q) label->setText(q);
        };
        if (!p.Num.empty()) setText(w.num, p.Num);
        setText(w.kuni, p.Kuni);
        for (std::size_t i = 0; i < texts.size(); ++i) setText(w.values[i], *texts[i]);
        const int colour = p.playerColour ? 1 : 0;
        if (w.colour != colour) {
            w.colour = colour;
            Paint(w.num, p.playerColour ? kPlayerOrange : buttonFace);
            Paint(w.kuni, p.playerColour ? kPlayerOrange : buttonFace);
        }
        if (w.expanded != p.expanded || w.panel->height() == 0) {
            w.expanded = p.expanded;
            w.panel->resize(Twips(kPanelWidth), Twips(p.expanded ? kPanelExpanded : kPanelCollapsed));
            w.body->setVisible(p.expanded);
        }
    }
    for (int i = 0; i < kHelpPanelCount; ++i) help_[i]->setVisible(shown.helpVisible[i]);
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
