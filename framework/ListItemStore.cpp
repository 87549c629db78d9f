#include "framework/ListItemStore.h"

#include <iterator>
#include <utility>

namespace {

// Up to this many separate runs of deleted rows are removed run by run,
// which keeps a view's scroll position and focus; more are reported as one
// reset, so a long scattered deletion costs one pass.
constexpr std::size_t RunsRemovedOneByOne = 8;

// Items are made this many at a time.
constexpr std::size_t ItemsPerChunk = 4096;

// Replaced texts are moved out of the way once there are more of them than
// live ones, and at least this many bytes.
constexpr std::size_t MinimumTextsReclaimed = 1024 * 1024;

}  // namespace

ListItemStore::ListItemStore(Observer& observer) : observer_(observer) {}

TListItem* ListItemStore::Add()
{
    TListItem* item = NewItem();
    item->slot_ = static_cast<std::uint32_t>(slots_.size());
    slots_.push_back(item);
    ScheduleFlush();
    return item;
}

TListItem* ListItemStore::NewItem()
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
    return &chunks_.back().emplace_back(TListItem(this));
}

void ListItemStore::Recycle(TListItem* item)
{
    liveTextBytes_ -= item->Kept().size();
    *item = TListItem(this);
    spare_.push_back(item);
}

void ListItemStore::TextsReplaced(std::size_t oldBytes, std::size_t newBytes)
{
    liveTextBytes_ = liveTextBytes_ - oldBytes + newBytes;
    ReclaimTexts();
}

void ListItemStore::ReclaimTexts()
{
    if (texts_.Size() - liveTextBytes_ <= std::max(liveTextBytes_, MinimumTextsReclaimed))
        return;
    TextArena compacted;
    // Deleted items not yet closed up are still shown: their texts go along.
    for (TListItem* item : slots_)
        item->MoveTexts(compacted);
    texts_ = std::move(compacted);
}

TListItem* ListItemStore::Item(int index)
{
    if (deleted_ > 0)
        Flush();
    if (index < 0 || static_cast<std::size_t>(index) >= slots_.size())
        return nullptr;
    return slots_[static_cast<std::size_t>(index)];
}

void ListItemStore::Clear()
{
    observer_.BeginReset(false);
    slots_.clear();
    spare_.clear();
    chunks_.clear();
    texts_.Clear();
    liveTextBytes_ = 0;
    deleted_ = 0;
    selectedCount_ = 0;
    rows_ = 0;
    selectionChanged_ = false;
    observer_.EndReset();
}

void ListItemStore::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        Flush();
}

int ListItemStore::IndexOf(const TListItem& item)
{
    if (deleted_ > 0)
        Flush();
    return static_cast<int>(item.slot_);
}

void ListItemStore::SetSelected(TListItem& item, bool selected)
{
    if (item.deleted_ || item.selected_ == selected)
        return;
    item.selected_ = selected;
    CountSelection(selected);
    selectionChanged_ = true;
    ScheduleFlush();
}

void ListItemStore::Delete(TListItem& item)
{
    if (item.deleted_)
        return;
    if (item.selected_) {
        item.selected_ = false;
        --selectedCount_;
    }
    item.deleted_ = true;
    ++deleted_;
    ScheduleFlush();
}

void ListItemStore::CaptionChanged(const TListItem& item)
{
    if (!item.deleted_ && item.slot_ < rows_)
        observer_.RowChanged(item.slot_);
}

void ListItemStore::ScheduleFlush()
{
    if (updateCount_ > 0 || flushScheduled_)
        return;
    flushScheduled_ = true;
    observer_.ScheduleFlush();
}

void ListItemStore::RunScheduledFlush()
{
    flushScheduled_ = false;
    if (updateCount_ == 0)
        Flush();
}

void ListItemStore::Flush()
{
    if (deleted_ > 0) {
        RemoveDeleted();
        ReclaimTexts();
    }
    if (slots_.size() > rows_) {
        observer_.BeginAppendRows(rows_, slots_.size() - 1);
        rows_ = slots_.size();
        observer_.EndAppendRows();
    }
    if (selectionChanged_) {
        selectionChanged_ = false;
        observer_.SelectionChanged();
    }
}

void ListItemStore::RemoveDeleted()
{
    // Items added since the last flush are no rows yet.
    CloseUp(rows_);
    if (deleted_ == 0)
        return;

    std::vector<std::pair<std::size_t, std::size_t>> runs;  // first, last
    for (std::size_t row = 0; row < rows_; ++row) {
        if (!slots_[row]->deleted_)
            continue;
        if (!runs.empty() && runs.back().second + 1 == row)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }

    if (runs.size() <= RunsRemovedOneByOne) {
        for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
            observer_.BeginRemoveRows(run->first, run->second);
            const auto first = slots_.begin() + static_cast<std::ptrdiff_t>(run->first);
            const auto last = slots_.begin() + static_cast<std::ptrdiff_t>(run->second + 1);
            std::for_each(first, last, [this](TListItem* item) { Recycle(item); });
            slots_.erase(first, last);
            rows_ -= run->second - run->first + 1;
            observer_.EndRemoveRows();
        }
        Renumber(runs.front().first);
        deleted_ = 0;
    } else {
        observer_.BeginReset(true);
        CloseUp(0);
        rows_ = slots_.size();
        observer_.EndReset();
        // A reset forgets the view's selection; the items still know theirs.
        selectionChanged_ = true;
    }
}

void ListItemStore::CloseUp(std::size_t from)
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

void ListItemStore::Renumber(std::size_t from)
{
    for (std::size_t slot = from; slot < slots_.size(); ++slot)
        slots_[slot]->slot_ = static_cast<std::uint32_t>(slot);
}

TListItem* ListItemStore::LiveItemFrom(std::size_t row) const
{
    for (std::size_t slot = row; slot < slots_.size(); ++slot)
        if (!slots_[slot]->deleted_)
            return slots_[slot];
    return nullptr;
}

TListItem* ListItemStore::NextSelected(const TListItem* item) const
{
    if (selectedCount_ == 0)
        return nullptr;
    for (std::size_t slot = item == nullptr ? 0 : item->slot_ + 1; slot < slots_.size(); ++slot)
        if (slots_[slot]->selected_)
            return slots_[slot];
    return nullptr;
}

void ListItemStore::MarkSelected(std::size_t row, bool selected)
{
    TListItem& item = *slots_[row];
    if (item.deleted_ || item.selected_ == selected)
        return;
    item.selected_ = selected;
    CountSelection(selected);
}
