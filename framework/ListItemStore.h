#pragma once
// The items of a list, kept apart from any view of them: their texts in one
// arena, their selection, and the changes a view has still to be told about.
//
// Changes reach the observer in batches: at the end of the outermost
// BeginUpdate/EndUpdate, or else once the observer runs the flush it was
// asked to schedule. So deleting or deselecting one item at a time, even tens
// of thousands in a loop, costs a constant amount per item, and searching for
// the next selected item after another walks forward from it.
#include "framework/ListItems.h"
#include "framework/TextArena.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

class ListItemStore {
public:
    // What a view of the items is told. The rows are the items the view has
    // been told about, in list order. A change of rows comes as a pair around
    // the change: the Begin call while the rows are still as they were.
    class Observer {
    public:
        virtual void BeginAppendRows(std::size_t first, std::size_t last) = 0;
        virtual void EndAppendRows() = 0;
        // One run of deleted rows; runs come last first.
        virtual void BeginRemoveRows(std::size_t first, std::size_t last) = 0;
        virtual void EndRemoveRows() = 0;
        // Every row at once. itemsStay: the items left are those of before
        // less the deleted ones, in the same order; otherwise all are gone.
        virtual void BeginReset(bool itemsStay) = 0;
        virtual void EndReset() = 0;
        virtual void RowChanged(std::size_t row) = 0;
        // The rows' selection is not what was last reported, or a reset lost it.
        virtual void SelectionChanged() = 0;
        // Asks for RunScheduledFlush once control is back in the event loop.
        virtual void ScheduleFlush() = 0;

    protected:
        ~Observer() = default;
    };

    explicit ListItemStore(Observer& observer);
    ListItemStore(const ListItemStore&) = delete;
    ListItemStore& operator=(const ListItemStore&) = delete;

    // The list's operations, as TListItems offers them.
    TListItem* Add();
    int Count() const { return static_cast<int>(slots_.size() - deleted_); }
    TListItem* Item(int index);
    void Clear();
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

    // What the items ask of the store.
    int IndexOf(const TListItem& item);
    void SetSelected(TListItem& item, bool selected);
    void Delete(TListItem& item);
    void CaptionChanged(const TListItem& item);
    // A copy of text followed by more, in the arena.
    std::string_view KeepTexts(std::string_view text, std::string_view more = {}) { return texts_.Keep(text, more); }
    // An item's texts now take newBytes in the arena instead of oldBytes.
    void TextsReplaced(std::size_t oldBytes, std::size_t newBytes);

    // Tells the observer every pending change and closes up deleted items.
    void Flush();
    // The flush the observer was asked to schedule; none inside a batch.
    void RunScheduledFlush();

    // What a view reads: its rows and their items, which for a deleted item
    // waiting for the flush is still the item, texts and all.
    std::size_t Rows() const { return rows_; }
    const TListItem& Row(std::size_t row) const { return *slots_[row]; }
    bool RowDeleted(std::size_t row) const { return slots_[row]->deleted_; }
    std::size_t RowOf(const TListItem& item) const { return item.slot_; }
    // The first item from row on that is not deleted, rows not yet reported
    // included; nullptr when there is none.
    TListItem* LiveItemFrom(std::size_t row) const;
    // The first selected item after item (from the first when nullptr), no wrap.
    TListItem* NextSelected(const TListItem* item) const;
    // Calls visit(first, last) for each run of selected rows, in order.
    template <class Visit>
    void ForEachSelectedRun(Visit visit) const;
    // A selection the view made itself: recorded, not reported back.
    void MarkSelected(std::size_t row, bool selected);

private:
    void ScheduleFlush();
    TListItem* NewItem();
    void Recycle(TListItem* item);
    // Moves the live texts to a new arena once the replaced ones outweigh them.
    void ReclaimTexts();
    void RemoveDeleted();
    // Removes the deleted items from slot from on, numbering the others.
    void CloseUp(std::size_t from);
    void Renumber(std::size_t from);
    void CountSelection(bool selected) { selected ? ++selectedCount_ : --selectedCount_; }

    Observer& observer_;
    // Items live in chunks that never move, so an item stays where it is
    // while it is in the list; removed items wait in spare_ to be reused.
    std::vector<std::vector<TListItem>> chunks_;
    std::vector<TListItem*> spare_;
    // Texts of removed items and replaced texts stay in the arena until
    // ReclaimTexts moves the live ones out.
    TextArena texts_;
    std::size_t liveTextBytes_ = 0;
    std::vector<TListItem*> slots_;
    std::size_t deleted_ = 0;
    std::size_t selectedCount_ = 0;
    // The rows the observer has been told about.
    std::size_t rows_ = 0;
    bool selectionChanged_ = false;
    bool flushScheduled_ = false;
    int updateCount_ = 0;
};

template <class Visit>
void ListItemStore::ForEachSelectedRun(Visit visit) const
{
    // Once every selected item is found, the rest of a long list is not looked at.
    std::size_t unfound = selectedCount_;
    for (std::size_t row = 0; row < rows_ && unfound > 0;) {
        if (!slots_[row]->selected_) {
            ++row;
            continue;
        }
        const std::size_t first = row;
        while (row < rows_ && slots_[row]->selected_)
            ++row;
        unfound -= std::min(unfound, row - first);
        visit(first, row - 1);
    }
}
