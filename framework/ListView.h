#pragma once
// A report-style list view: one row per item, its caption in the first
// column and its sub-items in the next ones.
//
// Item state (caption, sub-items, selection) lives in the items; the view
// only mirrors it. Changes are handed to the view in batches: at the end of
// the outermost BeginUpdate/EndUpdate, or else once control returns to the
// event loop. So deleting or deselecting one item at a time, even tens of
// thousands in a loop, costs a constant amount per item, and searching for
// the next selected item after another walks forward from it.
#include "Graphics.h"

#include <QTreeView>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class TListItems;
class TListView;
class ListItemsModel;

class TSubItems {
public:
    void Add(std::string text);
    int Count() const { return count_; }
    const std::string& operator[](int index) const;
    // Every sub-item followed by CR LF.
    std::string Text() const;

private:
    // Most items have one sub-item: it is kept without a list of its own,
    // which saves an allocation for each of many thousand entries.
    std::string first_;
    std::vector<std::string> more_;
    int count_ = 0;
};

class TListItem {
public:
    // 8-bit text in the locale's encoding.
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    TSubItems* SubItems() { return &subItems_; }
    const TSubItems* SubItems() const { return &subItems_; }

    // The item's position in the list, counted from 0.
    int Index() const;
    bool Selected() const { return selected_; }
    // Touches no other item, nor the focus or the scroll position.
    void SetSelected(bool selected);
    // Removes the item from the list; the item is gone afterwards.
    void Delete();

private:
    friend class TListItems;
    friend class TListView;
    TListItem(TListItems* owner, std::size_t slot) : owner_(owner), slot_(slot) {}

    TListItems* owner_;
    std::size_t slot_;
    std::string caption_;
    TSubItems subItems_;
    bool selected_ = false;
    bool deleted_ = false;
};

class TListItems {
public:
    explicit TListItems(TListView* view);
    ~TListItems();
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;

    // Appends an item at the end.
    TListItem* Add();
    int Count() const { return static_cast<int>(slots_.size() - deleted_); }
    // The item at index, or nullptr when there is none.
    TListItem* Item(int index);
    void Delete(int index);
    void Clear();

    // Redraw suspended; counted, so batches may nest.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

private:
    friend class TListItem;
    friend class TListView;
    friend class ListItemsModel;

    // Hands every pending change to the view and closes up deleted items.
    void Flush();
    void ScheduleFlush();
    void RemoveDeleted();
    void Renumber(std::size_t from);
    void SelectionChanged(bool selected);
    void Deleted(TListItem* item);
    TListItem* NextSelected(std::size_t fromSlot) const;

    TListView* view_;
    // Deleted items stay in their slots, still shown, until the next flush.
    std::vector<std::unique_ptr<TListItem>> slots_;
    std::size_t deleted_ = 0;
    std::size_t selectedCount_ = 0;
    // The rows the view has been told about.
    std::size_t reportedRows_ = 0;
    bool selectionChanged_ = false;
    bool flushScheduled_ = false;
    int updateCount_ = 0;
};

class TListView : public QTreeView {
    Q_OBJECT
public:
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)

private:
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int Color READ Color WRITE SetColor)

public:
    explicit TListView(QWidget* owner = nullptr);
    ~TListView() override;

    TListItems* Items() { return items_.get(); }

    // The first selected item in list order, or nullptr.
    TListItem* Selected() const;
    // nullptr clears the selection of every item; an item is selected as
    // SetSelected(true) does.
    void SetSelected(TListItem* item);
    // The next selected item after item in list order (no wrap), or nullptr.
    TListItem* GetNextSelected(const TListItem* item) const;

    // A column with its header caption; an auto-sized column fills the
    // width the others leave.
    void AddColumn(const QString& caption, int width, bool autoSize);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }

    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool multiSelect);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

Q_SIGNALS:
    void OnDblClick();

protected:
    void changeEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    friend class TListItem;
    friend class TListItems;
    friend class ListItemsModel;

    struct Column {
        QString caption;
        int width;
        bool autoSize;
    };

    void ApplySelection();
    void OnViewSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    // What a model reset would lose: the focused item and the top row.
    struct ViewPlace {
        TListItem* current = nullptr;
        TListItem* top = nullptr;
    };
    ViewPlace SavePlace() const;
    void RestorePlace(const ViewPlace& place);

    std::vector<Column> columns_;
    std::unique_ptr<TListItems> items_;
    ListItemsModel* model_;
    bool multiSelect_ = false;
    TBorderStyle borderStyle_ = bsSingle;
    TColor color_ = clWindow;
    bool applyingSelection_ = false;
};
