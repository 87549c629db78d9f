#include "ListView.h"

#include "AnsiText.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <stdexcept>

namespace {

// Up to this many separate runs of deleted rows are removed run by run,
// which keeps the view's scroll position and focus; more are handed over
// as one reset, so a long scattered deletion costs one pass.
constexpr std::size_t RunsRemovedOneByOne = 8;

// Items are made this many at a time.
constexpr std::size_t ItemsPerChunk = 4096;

// Replaced texts are moved out of the way once there are more of them than
// live ones, and at least this many bytes.
constexpr std::size_t MinimumTextsReclaimed = 1024 * 1024;

}  // namespace

// The view's window onto the items: rows are the itemSlots the view has been
// told about.
class ListItemsModel : public QAbstractTableModel {
public:
    ListItemsModel(TListView* view, TListItems* items) : QAbstractTableModel(view), view_(view), items_(items) {}

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(items_->reportedRows_);
    }

    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : std::max(1, view_->ColumnCount());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const TListItem& item = *items_->slots_[static_cast<std::size_t>(index.row())];
        if (index.column() == 0)
            return FromAnsi(item.Caption());
        if (index.column() <= item.SubItems()->Count())
            return FromAnsi((*item.SubItems())[index.column() - 1]);
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= view_->ColumnCount())
            return {};
        return view_->columns_[static_cast<std::size_t>(section)].caption;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
    }

    using QAbstractItemModel::beginInsertColumns;
    using QAbstractItemModel::beginInsertRows;
    using QAbstractItemModel::beginRemoveRows;
    using QAbstractItemModel::beginResetModel;
    using QAbstractItemModel::endInsertColumns;
    using QAbstractItemModel::endInsertRows;
    using QAbstractItemModel::endRemoveRows;
    using QAbstractItemModel::endResetModel;

private:
    TListView* view_;
    TListItems* items_;
};

void TSubItems::Add(std::string_view text)
{
    if (hasFirst_) {
        if (!more_)
            more_ = std::make_unique<std::vector<std::string>>();
        more_->emplace_back(text);
    } else {
        Store(Caption(), text, true);
    }
}

int TSubItems::Count() const
{
    return (hasFirst_ ? 1 : 0) + (more_ ? static_cast<int>(more_->size()) : 0);
}

std::string_view TSubItems::operator[](int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("no such sub-item");
    return index == 0 ? First() : std::string_view((*more_)[static_cast<std::size_t>(index - 1)]);
}

std::string TSubItems::Text() const
{
    std::string text;
    for (int index = 0; index < Count(); ++index) {
        text += (*this)[index];
        text += "\r\n";
    }
    return text;
}

std::string_view TSubItems::Caption() const
{
    return {kept_ + (captionShared_ ? firstSize_ - captionSize_ : 0), captionSize_};
}

std::string_view TSubItems::First() const { return {kept_ + (captionShared_ ? 0 : captionSize_), firstSize_}; }

std::string_view TSubItems::Kept() const
{
    return {kept_, captionShared_ ? firstSize_ : std::size_t{captionSize_} + firstSize_};
}

void TSubItems::SetCaption(std::string_view caption) { Store(caption, First(), hasFirst_); }

void TSubItems::Store(std::string_view caption, std::string_view first, bool hasFirst)
{
    if (caption.size() > UINT32_MAX || first.size() > UINT32_MAX)
        throw std::length_error("text too long for a list item");
    const bool shared = hasFirst && first.ends_with(caption);
    const std::string_view kept = Kept();
    // Bytes that already hold just the first sub-item serve as they are: the
    // usual caption, the file name at the end of the path, needs no copy.
    if (!shared || kept.data() != first.data() || kept.size() != first.size())
        kept_ = (shared ? owner_->texts_.Keep(first) : owner_->texts_.Keep(caption, first)).data();
    captionSize_ = static_cast<std::uint32_t>(caption.size());
    firstSize_ = static_cast<std::uint32_t>(first.size());
    captionShared_ = shared;
    hasFirst_ = hasFirst;
    owner_->TextsReplaced(kept.size(), Kept().size());
}

void TListItem::SetCaption(std::string_view caption)
{
    subItems_.SetCaption(caption);
    TListItems* owner = Owner();
    if (!deleted_ && slot_ < owner->reportedRows_) {
        const QModelIndex row = owner->view_->model_->index(static_cast<int>(slot_), 0);
        emit owner->view_->model_->dataChanged(row, row, {Qt::DisplayRole});
    }
}

int TListItem::Index() const
{
    if (Owner()->deleted_ > 0)
        Owner()->Flush();
    return static_cast<int>(slot_);
}

void TListItem::SetSelected(bool selected)
{
    if (deleted_ || selected_ == selected)
        return;
    selected_ = selected;
    Owner()->SelectionChanged(selected);
}

void TListItem::Delete() { Owner()->Deleted(this); }

TListItems::TListItems(TListView* view) : view_(view) {}

TListItems::~TListItems() = default;

TListItem* TListItems::Add()
{
    TListItem* item = NewItem();
    item->slot_ = static_cast<std::uint32_t>(slots_.size());
    slots_.push_back(item);
    ScheduleFlush();
    return item;
}

TListItem* TListItems::NewItem()
{
    if (!spare_.empty()) {
        TListItem* item = spare_.back();
        spare_.pop_back();
        return item;
    }
    if (chunks_.empty() || chunks_.back().size() == chunks_.back().capacity()) {
        chunks_.emplace_back();
        chunks_.back().reserve(ItemsPerChunk);
    }
    return &chunks_.back().emplace_back(TListItem::Key(), this);
}

void TListItems::Recycle(TListItem* item)
{
    liveTextBytes_ -= item->subItems_.Kept().size();
    *item = TListItem(TListItem::Key(), this);
    spare_.push_back(item);
}

void TListItems::TextsReplaced(std::size_t oldBytes, std::size_t newBytes)
{
    liveTextBytes_ = liveTextBytes_ - oldBytes + newBytes;
    ReclaimTexts();
}

void TListItems::ReclaimTexts()
{
    if (texts_.Size() - liveTextBytes_ <= std::max(liveTextBytes_, MinimumTextsReclaimed))
        return;
    TextArena compacted;
    // Deleted items not yet closed up are still shown: their texts go along.
    for (TListItem* item : slots_)
        item->subItems_.kept_ = compacted.Keep(item->subItems_.Kept()).data();
    texts_ = std::move(compacted);
}

TListItem* TListItems::Item(int index)
{
    if (deleted_ > 0)
        Flush();
    if (index < 0 || static_cast<std::size_t>(index) >= slots_.size())
        return nullptr;
    return slots_[static_cast<std::size_t>(index)];
}

void TListItems::Delete(int index)
{
    if (TListItem* item = Item(index))
        item->Delete();
}

void TListItems::Clear()
{
    view_->model_->beginResetModel();
    slots_.clear();
    spare_.clear();
    chunks_.clear();
    texts_.Clear();
    liveTextBytes_ = 0;
    deleted_ = 0;
    selectedCount_ = 0;
    reportedRows_ = 0;
    selectionChanged_ = false;
    view_->model_->endResetModel();
}

void TListItems::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        Flush();
}

void TListItems::ScheduleFlush()
{
    if (updateCount_ > 0 || flushScheduled_)
        return;
    flushScheduled_ = true;
    QTimer::singleShot(0, view_, [this] {
        flushScheduled_ = false;
        if (updateCount_ == 0)
            Flush();
    });
}

void TListItems::Flush()
{
    const bool wasApplying = std::exchange(view_->applyingSelection_, true);
    if (deleted_ > 0) {
        RemoveDeleted();
        ReclaimTexts();
    }
    if (slots_.size() > reportedRows_) {
        view_->model_->beginInsertRows({}, static_cast<int>(reportedRows_), static_cast<int>(slots_.size() - 1));
        reportedRows_ = slots_.size();
        view_->model_->endInsertRows();
    }
    view_->applyingSelection_ = wasApplying;
    if (selectionChanged_) {
        selectionChanged_ = false;
        view_->ApplySelection();
    }
}

void TListItems::RemoveDeleted()
{
    // Items added since the last flush are no rows of the view yet.
    CloseUp(reportedRows_);
    if (deleted_ == 0)
        return;

    std::vector<std::pair<std::size_t, std::size_t>> runs;  // first, last
    for (std::size_t row = 0; row < reportedRows_; ++row) {
        if (!slots_[row]->deleted_)
            continue;
        if (!runs.empty() && runs.back().second + 1 == row)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }

    ListItemsModel& model = *view_->model_;
    if (runs.size() <= RunsRemovedOneByOne) {
        for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
            model.beginRemoveRows({}, static_cast<int>(run->first), static_cast<int>(run->second));
            const auto first = slots_.begin() + static_cast<std::ptrdiff_t>(run->first);
            const auto last = slots_.begin() + static_cast<std::ptrdiff_t>(run->second + 1);
            std::for_each(first, last, [this](TListItem* item) { Recycle(item); });
            slots_.erase(first, last);
            reportedRows_ -= run->second - run->first + 1;
            model.endRemoveRows();
        }
        Renumber(runs.front().first);
        deleted_ = 0;
    } else {
        const auto place = view_->SavePlace();
        model.beginResetModel();
        CloseUp(0);
        reportedRows_ = slots_.size();
        model.endResetModel();
        // A reset forgets the view's selection; the items still know theirs.
        selectionChanged_ = true;
        view_->RestorePlace(place);
    }
}

void TListItems::CloseUp(std::size_t from)
{
    std::size_t kept = from;
    for (std::size_t slot = from; slot < slots_.size(); ++slot) {
        TListItem* item = slots_[slot];
        if (item->deleted_) {
            Recycle(item);
            continue;
        }
        item->slot_ = static_cast<std::uint32_t>(kept);
        slots_[kept++] = item;
    }
    deleted_ -= slots_.size() - kept;
    slots_.resize(kept);
}

void TListItems::Renumber(std::size_t from)
{
    for (std::size_t slot = from; slot < slots_.size(); ++slot)
        slots_[slot]->slot_ = static_cast<std::uint32_t>(slot);
}

void TListItems::SelectionChanged(bool selected)
{
    if (selected)
        ++selectedCount_;
    else
        --selectedCount_;
    selectionChanged_ = true;
    ScheduleFlush();
}

void TListItems::Deleted(TListItem* item)
{
    if (item->deleted_)
        return;
    if (item->selected_) {
        item->selected_ = false;
        --selectedCount_;
    }
    item->deleted_ = true;
    ++deleted_;
    ScheduleFlush();
}

TListItem* TListItems::NextSelected(std::size_t fromSlot) const
{
    if (selectedCount_ == 0)
        return nullptr;
    for (std::size_t slot = fromSlot; slot < slots_.size(); ++slot)
        if (slots_[slot]->selected_)
            return slots_[slot];
    return nullptr;
}

TListView::TListView(QWidget* owner) : QTreeView(owner), items_(std::make_unique<TListItems>(this))
{
    model_ = new ListItemsModel(this, items_.get());
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

TListItem* TListView::Selected() const { return items_->NextSelected(0); }

void TListView::SetSelected(TListItem* item)
{
    if (item != nullptr) {
        item->SetSelected(true);
        return;
    }
    for (TListItem* selected = Selected(); selected != nullptr; selected = GetNextSelected(selected))
        selected->SetSelected(false);
}

TListItem* TListView::GetNextSelected(const TListItem* item) const
{
    return items_->NextSelected(item == nullptr ? 0 : item->slot_ + 1);
}

void TListView::AddColumn(const QString& caption, int width, bool autoSize)
{
    const int column = ColumnCount();
    // The model always shows one column; the first one added only names it.
    if (column > 0)
        model_->beginInsertColumns({}, column, column);
    columns_.push_back({caption, width, autoSize});
    if (column > 0)
        model_->endInsertColumns();
    emit model_->headerDataChanged(Qt::Horizontal, column, column);
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

void TListView::ApplySelection()
{
    QItemSelection selection;
    const auto& itemSlots = items_->slots_;
    // Once every selected item is found, the rest of a long list is not looked at.
    std::size_t unfound = items_->selectedCount_;
    for (std::size_t row = 0; row < items_->reportedRows_ && unfound > 0;) {
        if (!itemSlots[row]->selected_) {
            ++row;
            continue;
        }
        const std::size_t first = row;
        while (row < items_->reportedRows_ && itemSlots[row]->selected_)
            ++row;
        unfound -= std::min(unfound, row - first);
        selection.select(model_->index(static_cast<int>(first), 0),
                         model_->index(static_cast<int>(row - 1), model_->columnCount({}) - 1));
    }
    applyingSelection_ = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    applyingSelection_ = false;
}

void TListView::OnViewSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    if (applyingSelection_)
        return;
    const auto mark = [this](const QItemSelection& ranges, bool state) {
        for (const QItemSelectionRange& range : ranges)
            for (int row = range.top(); row <= range.bottom(); ++row) {
                TListItem& item = *items_->slots_[static_cast<std::size_t>(row)];
                if (item.deleted_ || item.selected_ == state)
                    continue;
                item.selected_ = state;
                state ? ++items_->selectedCount_ : --items_->selectedCount_;
            }
    };
    mark(deselected, false);
    mark(selected, true);
}

TListView::ViewPlace TListView::SavePlace() const
{
    const auto& itemSlots = items_->slots_;
    const auto alive = [&](int row) -> TListItem* {
        for (auto slot = static_cast<std::size_t>(row); row >= 0 && slot < itemSlots.size(); ++slot)
            if (!itemSlots[slot]->deleted_)
                return itemSlots[slot];
        return nullptr;
    };
    ViewPlace place;
    const QModelIndex current = currentIndex();
    if (current.isValid() && !itemSlots[static_cast<std::size_t>(current.row())]->deleted_)
        place.current = itemSlots[static_cast<std::size_t>(current.row())];
    const QModelIndex top = indexAt(viewport()->rect().topLeft());
    if (top.isValid())
        place.top = alive(top.row());
    return place;
}

void TListView::RestorePlace(const ViewPlace& place)
{
    if (place.current != nullptr)
        selectionModel()->setCurrentIndex(model_->index(static_cast<int>(place.current->slot_), 0),
                                          QItemSelectionModel::NoUpdate);
    if (place.top != nullptr)
        scrollTo(model_->index(static_cast<int>(place.top->slot_), 0), QAbstractItemView::PositionAtTop);
}
