#pragma once
// A report-style list view: one row per item, its caption in the first
// column and its sub-items in the next ones.
//
// Item state (caption, sub-items, selection) lives in the items, kept by a
// ListItemStore; the view only mirrors it, taking the store's changes in
// batches once control returns to the event loop (ListItemStore.h).
#include "framework/Graphics.h"
#include "framework/ListItemStore.h"
#include "framework/ListItems.h"

#include <QTreeView>
#include <cstddef>

class ListItemsModel;

class TListView : public QTreeView, private ListItemStore::Observer {
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

    TListItems* Items() { return &items_; }

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
    int ColumnCount() const;

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
    // The store's changes, passed on to the model and the selection.
    void BeginAppendRows(std::size_t first, std::size_t last) override;
    void EndAppendRows() override;
    void BeginRemoveRows(std::size_t first, std::size_t last) override;
    void EndRemoveRows() override;
    void BeginReset(bool itemsStay) override;
    void EndReset() override;
    void RowChanged(std::size_t row) override;
    void SelectionChanged() override;
    void ScheduleFlush() override;

    void ApplySelection();
    void OnViewSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    // What a model reset would lose: the focused item and the top row.
    struct ViewPlace {
        const TListItem* current = nullptr;
        const TListItem* top = nullptr;
    };
    ViewPlace SavePlace() const;
    void RestorePlace(const ViewPlace& place);

    ListItemStore store_;
    TListItems items_;
    ListItemsModel* model_;
    ViewPlace placeAcrossReset_;
    bool multiSelect_ = false;
    TBorderStyle borderStyle_ = bsSingle;
    TColor color_ = clWindow;
    // Set while the view changes to follow the items: its selection
    // signals then are no user's.
    bool followingItems_ = false;
};
