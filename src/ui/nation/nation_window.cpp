// The nation information screen "国家情報": every nation's character and
// battle record, with a legend; choosing a nation moves the map to it.
#include "ui/nation/nation_window.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>
#include <vector>

#include "screens/nation/nation_list.h"
#include "screens/session/session.h"
#include "ui/map/territory_picture.h"
#include "ui/qt/common.h"
#include "ui/qt/qt_screen.h"

namespace tarvex::ui {

namespace {

constexpr int kListLeft = 240;
constexpr int kListWidth = 8415;
constexpr int kRightMargin = 120;
constexpr int kClientWidth = 8775;
constexpr int kClientHeight = 7275;
// Tab stops every seven half-width cells: the nation lines pad every name to
// 28 cells and the header puts 28 spaces after its first tab, so with stops
// at a divisor of 28 both land on the same column.
constexpr int kTabCells = 7;
constexpr int kTextMargin = 3;

QTextOption TabbedOption(qreal tabStop) {
    QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(tabStop);
    return option;
}

// Width of a line as drawn with the lists' tab stops.
int TabbedWidth(const QFont& font, qreal tabStop, const QString& text) {
    return QFontMetrics(font).size(Qt::TextSingleLine | Qt::TextExpandTabs, text, qRound(tabStop)).width();
}

// Where each field after the tab of a nation line lies: the middle of each
// run of text between the ideographic spaces and blanks, in pixels from the
// start of the line as the lists draw it.
std::vector<qreal> FieldCentres(const QFont& font, qreal tabStop, const QString& line) {
    std::vector<qreal> centres;
    const auto isGap = [](QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000); };
    int i = static_cast<int>(line.indexOf(QLatin1Char('\t')));
    if (i < 0) return centres;
    ++i;
    while (i < line.size()) {
        while (i < line.size() && isGap(line[i])) ++i;
        if (i >= line.size()) break;
        const int start = i;
        while (i < line.size() && !isGap(line[i])) ++i;
        const qreal left = TabbedWidth(font, tabStop, line.left(start));
        const qreal right = TabbedWidth(font, tabStop, line.left(i));
        centres.push_back((left + right) / 2);
    }
    return centres;
}

// Draws list lines with the screen's own tab stops, so the columns of the
// records stand under the header.
class TabbedTextDelegate : public QStyledItemDelegate {
public:
    TabbedTextDelegate(qreal tabStop, QObject* parent) : QStyledItemDelegate(parent), tabStop_(tabStop) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget* widget = item.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

        const QPalette::ColorGroup group = (item.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        const bool selected = item.state & QStyle::State_Selected;
        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        // Right of the colour swatch when the line has one.
        QRectF textRect = QRectF(item.rect).adjusted(kTextMargin, 0, -kTextMargin, 0);
        if (!item.icon.isNull()) textRect.setLeft(textRect.left() + item.decorationSize.width() + kTextMargin);
        DrawText(painter, textRect, text);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QFontMetrics metrics(item.font);
        const int swatch = item.icon.isNull() ? 0 : item.decorationSize.width() + kTextMargin;
        return {TabbedWidth(item.font, tabStop_, item.text) + 2 * kTextMargin + swatch, metrics.height() + 2};
    }

protected:
    virtual void DrawText(QPainter* painter, const QRectF& rect, const QString& text) const {
        painter->drawText(rect, text, TabbedOption(tabStop_));
    }

    qreal tabStop_;
};

// The header's titles after the tab spread by their own blanks, which put the
// later ones a cell or more to the right of their numbers; each title is drawn
// over the middle of its column as the nation lines fill it instead.
class HeaderDelegate : public TabbedTextDelegate {
public:
    HeaderDelegate(qreal tabStop, std::vector<qreal> columns, QObject* parent)
        : TabbedTextDelegate(tabStop, parent), columns_(std::move(columns)) {}

protected:
    void DrawText(QPainter* painter, const QRectF& rect, const QString& text) const override {
        const int tab = static_cast<int>(text.indexOf(QLatin1Char('\t')));
        const QStringList titles = text.mid(tab + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (tab < 0 || titles.size() != static_cast<int>(columns_.size())) {
            TabbedTextDelegate::DrawText(painter, rect, text);
            return;
        }
        painter->drawText(rect, text.left(tab), TabbedOption(tabStop_));
        const QFontMetricsF metrics(painter->font());
        for (int k = 0; k < titles.size(); ++k) {
            const qreal width = metrics.horizontalAdvance(titles[k]);
            const QRectF titleRect(rect.left() + columns_[k] - width / 2, rect.top(), width + 1, rect.height());
            painter->drawText(titleRect, titles[k], TabbedOption(tabStop_));
        }
    }

private:
    std::vector<qreal> columns_;
};

QListWidget* MakeList(QWidget* parent, const char* name, const QFont& font, qreal tabStop) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setFont(font);
    list->setItemDelegate(new TabbedTextDelegate(tabStop, list));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setUniformItemSizes(true);
    return list;
}

struct LegendGroup {
    int left;
    int explanationLeft;
    const char* caption;
    std::vector<std::pair<const char*, const char*>> rows;
};

const std::array<LegendGroup, 3>& Legend() {
    static const std::array<LegendGroup, 3> legend{{
        {240, 720, "政治", {{"普通", "普通です"}, {"戦争", "戦争が多いです"}, {"内政", "富国政策中心"}}},
        {2160,
         2640,
         "戦争",
         {{"普通", "普通です"}, {"猛進", "主に得意な戦闘"}, {"慎重", "相手の過去データを読みます"}}},
        {4200,
         4680,
         "戦闘",
         {{"通常", "普通です"},
          {"突撃", "破壊力"},
          {"包囲", "敵の士気が低下しやすいが自軍兵力が1/2に"},
          {"射撃", "特に突撃に対して強い"},
          {"防御", "守るに適してる"}}},
    }};
    return legend;
}

}  // namespace

NationWindow::NationWindow(Session& game, QtScreen& screen, QWidget* parent)
    : GameDialog(parent, "NationWindow", "国家情報"), game_(game), screen_(screen) {
    // An even pixel size keeps a full-width character exactly two half-width
    // cells wide, which the padded names rely on.
    QFont listFont = FixedWidthFont(9);
    listFont.setPixelSize(12);
    tabStop_ = kTabCells * QFontMetricsF(listFont).horizontalAdvance(QLatin1Char(' '));

    const QString header = Qs(NationHeaderLine());
    QStringList lines;
    for (const std::string& line : NationLines(game)) lines << Qs(line);

    // The lists are as wide as the layout asks, or wider when the lines in
    // this font need it, so no record column is cut off.
    int textWidth = TabbedWidth(listFont, tabStop_, header);
    for (const QString& line : lines) textWidth = std::max(textWidth, TabbedWidth(listFont, tabStop_, line));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int listWidth =
        std::max(Twips(kListWidth), textWidth + 2 * kTextMargin + kSwatchSize + kTextMargin + scrollBar + 8);
    const int clientWidth = std::max(Twips(kClientWidth), Twips(kListLeft) + listWidth + Twips(kRightMargin));

    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName("menuBar");
    QAction* closeEntry = menuBar->addAction("閉じる(&C)");
    closeEntry->setObjectName("CloseEntry");
    connect(closeEntry, &QAction::triggered, this, &QWidget::close);

    auto* contents = new QWidget(this);
    contents->setObjectName("contents");
    contents->setFixedSize(clientWidth, Twips(kClientHeight));

    auto* recordsCaption = new QLabel("過去の戦闘データ", contents);
    recordsCaption->setObjectName("BattleRecordsCaption");
    Place(recordsCaption, 4080, 0, 2400, 240);

    BuildLists(contents, listFont, header, lines, listWidth);

    BuildLegend(contents, clientWidth);

    StackMenuAndContents(menuBar, contents);

    // A view with nothing to bring up to date (it shows the records as they were),
    // listed so that a hold paints it with the others.
    screen_.AddView(this, {});
}

void NationWindow::BuildLists(QWidget* contents, const QFont& listFont, const QString& header, const QStringList& lines,
                              int listWidth) {
    listHeader_ = MakeList(contents, "NationListHeader", listFont, tabStop_);
    listHeader_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    listHeader_->setSelectionMode(QAbstractItemView::NoSelection);
    listHeader_->setFocusPolicy(Qt::NoFocus);
    // The titles stand over the columns of the first nation's line; every line
    // has the same columns.
    if (!lines.isEmpty())
        listHeader_->setItemDelegate(
            new HeaderDelegate(tabStop_, FieldCentres(listFont, tabStop_, lines.front()), listHeader_));
    listHeader_->addItem(header);
    const int headerHeight = std::max(Twips(240), QFontMetrics(listFont).height() + 2 + 2 * listHeader_->frameWidth());
    listHeader_->setGeometry(Twips(kListLeft), Twips(240), listWidth, headerHeight);

    nationList_ = MakeList(contents, "NationList", listFont, tabStop_);
    nationList_->addItems(lines);
    // Each nation's colour on the map stands before its name, as the map's legend;
    // the header keeps a blank swatch so that its titles stay over their columns.
    const QSize swatch(kSwatchSize, kSwatchSize);
    for (QListWidget* list : {listHeader_, nationList_}) list->setIconSize(swatch);
    QPixmap blank(swatch);
    blank.fill(Qt::transparent);
    listHeader_->item(0)->setIcon(QIcon(blank));
    for (int row = 0; row < nationList_->count(); ++row) nationList_->item(row)->setIcon(NationSwatch(row + 1));
    nationList_->setGeometry(Twips(kListLeft), Twips(600), listWidth, Twips(4560));
    connect(nationList_, &QListWidget::itemClicked, this, &NationWindow::Choose);
    connect(nationList_, &QListWidget::itemActivated, this, &NationWindow::Choose);
}

void NationWindow::BuildLegend(QWidget* contents, int clientWidth) {
    int labelNumber = 1;
    auto legendLabel = [&](const char* text, int left, int top, int width, int height) {
        auto* label = new QLabel(text, contents);
        label->setObjectName(QString("LegendLabel%1").arg(labelNumber++));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Place(label, left, top, width, height);
        return label;
    };
    const std::array<LegendGroup, 3>& legend = Legend();
    for (std::size_t g = 0; g < legend.size(); ++g) {
        const LegendGroup& group = legend[g];
        const bool last = g + 1 == legend.size();
        legendLabel(group.caption, group.left, 5160, 1800, 300);
        for (std::size_t row = 0; row < group.rows.size(); ++row) {
            const int top = 5520 + 360 * static_cast<int>(row);
            legendLabel(group.rows[row].first, group.left, top, group.explanationLeft - group.left, 300);
            if (last) {
                // The last group runs to the window's edge.
                QLabel* explanation = legendLabel(group.rows[row].second, group.explanationLeft, top, 0, 300);
                explanation->resize(clientWidth - explanation->x() - 4, explanation->height());
            } else {
                // The others wrap before the next group; only below a group's last row is there room for a second line.
                const bool lastRow = row + 1 == group.rows.size();
                QLabel* explanation = legendLabel(group.rows[row].second, group.explanationLeft, top,
                                                  legend[g + 1].left - 60 - group.explanationLeft, lastRow ? 660 : 300);
                explanation->setWordWrap(true);
            }
        }
    }
}

NationWindow::~NationWindow() { screen_.RemoveView(this); }

void NationWindow::Choose(QListWidgetItem* item) {
    if (closing_ || !item) return;
    closing_ = true;
    ShowNationOnMap(game_, item->text().toStdString());
    // The map behind has moved to the nation's cities.
    screen_.SyncViews();
    close();
}

}  // namespace tarvex::ui
