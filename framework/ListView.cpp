#include "framework/ListView.h"

#include "framework/AnsiText.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {

// More of a caption than any column can show: the rest is never laid out, as
// laying out megabytes on every paint would hold up the window. A cut may
// split a double-byte character, far out of sight.
constexpr std::size_t ShownBytes = 4096;

QString shown(std::string_view text) { return FromAnsi(text.substr(0, ShownBytes)); }

}  // namespace

// The view's window onto the store: its rows are the rows the store has
// reported; the column captions are its own.
class ListItemsModel : public QAbstractTableModel {
public:
    ListItemsModel(QObject* owner, const ListItemStore& store) : QAbstractTableModel(owner), store_(store) {}

    int ColumnCount() const { return static_cast<int>(captions_.size()); }

    // The model always shows one column; the first one added only names it.
    void AddColumn(const QString& caption)
    {
        const int column = ColumnCount();
        if (column > 0)
            beginInsertColumns({}, column, column);
        captions_.push_back(caption);
        if (column > 0)
            endInsertColumns();
        emit headerDataChanged(Qt::Horizontal, column, column);
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(store_.Rows());
    }

    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : std::max(1, ColumnCount());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const TListItem& item = store_.Row(static_cast<std::size_t>(index.row()));
        if (index.column() == 0)
            return shown(item.Caption());
        if (index.column() <= item.SubItems()->Count())
            return shown((*item.SubItems())[index.column() - 1]);
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= ColumnCount())
            return {};
        return captions_[static_cast<std::size_t>(section)];
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
    }

    using QAbstractItemModel::beginInsertRows;
    using QAbstractItemModel::beginRemoveRows;
    using QAbstractItemModel::beginResetModel;
    using QAbstractItemModel::endInsertRows;
    using QAbstractItemModel::endRemoveRows;
    using QAbstractItemModel::endResetModel;

private:
    const ListItemStore& store_;
    std::vector<QString> captions_;
};

TListView::TListView(QWidget* owner)
    : QTreeView(owner), store_(*this), items_(store_), model_(new ListItemsModel(this, store_))
{
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    // Files dropped on the list belong to the window that accepts them.
    setDragDropMode(QAbstractItemView::NoDragDrop);
    viewport()->setAcceptDrops(false);
    setAcceptDrops(false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TListView::OnViewSelectionChanged);
}

TListView::~TListView()
{
    // The model reads the items; the view must not ask it again once they go.
    setModel(nullptr);
}

TListItem* TListView::Selected() const { return store_.NextSelected(nullptr); }

void TListView::SetSelected(TListItem* item)
{
    if (item != nullptr) {
        item->SetSelected(true);
        return;
    }
    for (TListItem* selected = Selected(); selected != nullptr; selected = GetNextSelected(selected))
        selected->SetSelected(false);
}

TListItem* TListView::GetNextSelected(const TListItem* item) const { return store_.NextSelected(item); }

int TListView::ColumnCount() const { return model_->ColumnCount(); }

void TListView::AddColumn(const QString& caption, int width, bool autoSize)
{
    const int column = ColumnCount();
    model_->AddColumn(caption);
    header()->setSectionResizeMode(column, autoSize ? QHeaderView::Stretch : QHeaderView::Interactive);
    if (!autoSize)
        header()->resizeSection(column, width);
}

void TListView::SetMultiSelect(bool multiSelect)
{
    multiSelect_ = multiSelect;
    setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void TListView::SetBorderStyle(TBorderStyle style)
{
    borderStyle_ = style;
    setFrameShape(style == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

void TListView::SetColor(TColor color)
{
    color_ = color;
    QPalette colours = palette();
    colours.setColor(QPalette::Base, ColorToQColor(color));
    setPalette(colours);
}

void TListView::changeEvent(QEvent* event)
{
    QTreeView::changeEvent(event);
    if (event->type() != QEvent::PaletteChange)
        return;
    // The header keeps the desktop's colours whatever the list's own are;
    // each role set on its own, so none is inherited from the list.
    const QPalette desktop = QApplication::palette();
    QPalette colours = header()->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role == QPalette::NoRole)
            continue;
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            colours.setColor(group, static_cast<QPalette::ColorRole>(role),
                             desktop.color(group, static_cast<QPalette::ColorRole>(role)));
    }
    header()->setPalette(colours);
}

void TListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit OnDblClick();
}

void TListView::BeginAppendRows(std::size_t first, std::size_t last)
{
    followingItems_ = true;
    model_->beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
}

void TListView::EndAppendRows()
{
    model_->endInsertRows();
    followingItems_ = false;
}

void TListView::BeginRemoveRows(std::size_t first, std::size_t last)
{
    followingItems_ = true;
    model_->beginRemoveRows({}, static_cast<int>(first), static_cast<int>(last));
}

void TListView::EndRemoveRows()
{
    model_->endRemoveRows();
    followingItems_ = false;
}

void TListView::BeginReset(bool itemsStay)
{
    followingItems_ = true;
    placeAcrossReset_ = itemsStay ? SavePlace() : ViewPlace();
    model_->beginResetModel();
}

void TListView::EndReset()
{
    model_->endResetModel();
    RestorePlace(std::exchange(placeAcrossReset_, ViewPlace()));
    followingItems_ = false;
}

void TListView::RowChanged(std::size_t row)
{
    const QModelIndex index = model_->index(static_cast<int>(row), 0);
    emit model_->dataChanged(index, index, {Qt::DisplayRole});
}

void TListView::SelectionChanged() { ApplySelection(); }

void TListView::ScheduleFlush()
{
    QTimer::singleShot(0, this, [this] { store_.RunScheduledFlush(); });
}

void TListView::ApplySelection()
{
    QItemSelection selection;
    const int lastColumn = model_->columnCount({}) - 1;
    store_.ForEachSelectedRun([&](std::size_t first, std::size_t last) {
        selection.select(model_->index(static_cast<int>(first), 0), model_->index(static_cast<int>(last), lastColumn));
    });
    followingItems_ = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    followingItems_ = false;
}

void TListView::OnViewSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    if (followingItems_)
        return;
    const auto mark = [this](const QItemSelection& ranges, bool state) {
        for (const QItemSelectionRange& range : ranges)
            for (int row = range.top(); row <= range.bottom(); ++row)
                store_.MarkSelected(static_cast<std::size_t>(row), state);
    };
    mark(deselected, false);
    mark(selected, true);
}

TListView::ViewPlace TListView::SavePlace() const
{
    ViewPlace place;
    const QModelIndex current = currentIndex();
    if (current.isValid() && !store_.RowDeleted(static_cast<std::size_t>(current.row())))
        place.current = &store_.Row(static_cast<std::size_t>(current.row()));
    const QModelIndex top = indexAt(viewport()->rect().topLeft());
    if (top.isValid())
        place.top = store_.LiveItemFrom(static_cast<std::size_t>(top.row()));
    return place;
}

void TListView::RestorePlace(const ViewPlace& place)
{
    if (place.current != nullptr)
        selectionModel()->setCurrentIndex(model_->index(static_cast<int>(store_.RowOf(*place.current)), 0),
                                          QItemSelectionModel::NoUpdate);
    if (place.top != nullptr)
        scrollTo(model_->index(static_cast<int>(store_.RowOf(*place.top)), 0), QAbstractItemView::PositionAtTop);
}
