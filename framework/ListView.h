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
#include "TextArena.h"

#include <QTreeView>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TListItems;
class TListView;
class ListItemsModel;

// An item's texts: its caption and its sub-items. The caption and the first
// sub-item are kept together in the list's text arena, and a caption that
// ends the first sub-item (a file's name and its path) shares its bytes, so
// an entry of a long playlist costs no allocation of its own.
//
// Texts are handed out as views, each valid until the list next changes.
class TSubItems {
public:
    void Add(std::string_view text);
    int Count() const;
    std::string_view operator[](int index) const;
    // Every sub-item followed by CR LF.
    std::string Text() const;

private:
    friend class TListItem;
    friend class TListItems;
    explicit TSubItems(TListItems* owner) : owner_(owner) {}

    std::string_view Caption() const;
    std::string_view First() const;
    // The bytes this item holds in the arena.
    std::string_view Kept() const;
    void SetCaption(std::string_view caption);
    void Store(std::string_view caption, std::string_view first, bool hasFirst);

    TListItems* owner_;
    const char* kept_ = nullptr;
    std::uint32_t captionSize_ = 0;
    std::uint32_t firstSize_ = 0;
    std::unique_ptr<std::vector<std::string>> more_;
    bool captionShared_ = false;
    bool hasFirst_ = false;
};

class TListItem {
    // Only the list creates items.
    class Key {
        friend class TListItems;
        Key() = default;
    };

public:
    TListItem(Key, TListItems* owner) : subItems_(owner) {}

    // 8-bit text in the locale's encoding.
    std::string_view Caption() const { return subItems_.Caption(); }
    void SetCaption(std::string_view caption);
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

    TListItems* Owner() const { return subItems_.owner_; }

    TSubItems subItems_;
    std::uint32_t slot_ = 0;
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
    friend class TSubItems;
    friend class TListView;
    friend class ListItemsModel;

    // Hands every pending change to the view and closes up deleted items.
    void Flush();
    void ScheduleFlush();
    void RemoveDeleted();
    void Renumber(std::size_t from);
    // Removes the deleted items from slot from on, numbering the others.
    void CloseUp(std::size_t from);
    TListItem* NewItem();
    void Recycle(TListItem* item);
    // An item's texts now take newBytes in the arena instead of oldBytes.
    void TextsReplaced(std::size_t oldBytes, std::size_t newBytes);
    // Moves the live texts to a new arena once the replaced ones outweigh them.
    void ReclaimTexts();
    void SelectionChanged(bool selected);
    void Deleted(TListItem* item);
    TListItem* NextSelected(std::size_t fromSlot) const;

    TListView* view_;
    // Items live in chunks that never move, so an item stays where it is
    // while it is in the list; removed items wait in spare_ to be reused.
    std::vector<std::vector<TListItem>> chunks_;
    std::vector<TListItem*> spare_;
    // Texts of removed items and replaced texts stay in the arena until
    // ReclaimTexts moves the live ones out.
    TextArena texts_;
    std::size_t liveTextBytes_ = 0;
    // Deleted items stay in their slots, still shown, until the next flush.
    std::vector<TListItem*> slots_;
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
