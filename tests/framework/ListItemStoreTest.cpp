// The list's storage with no view: what it reports, and when, for batches,
// deletions and selection, as an observer sees it.
#include "framework/ListItemStore.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

class RecordingObserver : public ListItemStore::Observer {
public:
    std::vector<std::string> reports;

    void BeginAppendRows(std::size_t first, std::size_t last) override { note("append", first, last); }
    void EndAppendRows() override { reports.push_back("appended"); }
    void BeginRemoveRows(std::size_t first, std::size_t last) override { note("remove", first, last); }
    void EndRemoveRows() override { reports.push_back("removed"); }
    void BeginReset(bool itemsStay) override { reports.push_back(itemsStay ? "close up" : "clear"); }
    void EndReset() override { reports.push_back("reset"); }
    void RowChanged(std::size_t row) override { reports.push_back("row " + std::to_string(row)); }
    void SelectionChanged() override { reports.push_back("selection"); }
    void ScheduleFlush() override { reports.push_back("schedule"); }

    std::vector<std::string> takeReports() { return std::exchange(reports, {}); }

private:
    void note(const char* what, std::size_t first, std::size_t last)
    {
        reports.push_back(std::string(what) + " " + std::to_string(first) + "-" + std::to_string(last));
    }
};

using Reports = std::vector<std::string>;

class ListItemStoreTest : public ::testing::Test {
protected:
    // Items named /music/0.mp3, /music/1.mp3, ... in the order they are made.
    void fillWith(int count)
    {
        for (int i = 0; i < count; ++i)
            store.Add()->SubItems()->Add(nextPath());
    }

    std::string nextPath() { return "/music/" + std::to_string(made_++) + ".mp3"; }

    // Deletes the items at these indexes as the delete button does: each
    // found before any is deleted.
    void deleteRows(const std::vector<int>& indexes)
    {
        std::vector<TListItem*> doomed;
        for (int index : indexes)
            doomed.push_back(store.Item(index));
        for (TListItem* item : doomed)
            item->Delete();
    }

    std::vector<int> itemNames()
    {
        std::vector<int> names;
        for (int i = 0; i < store.Count(); ++i) {
            EXPECT_EQ(store.Item(i)->Index(), i);
            const std::string_view path = (*store.Item(i)->SubItems())[0];
            names.push_back(std::stoi(std::string(path.substr(7))));
        }
        return names;
    }

    RecordingObserver observer;
    ListItemStore store{observer};

private:
    int made_ = 0;
};

}  // namespace

TEST_F(ListItemStoreTest, ReportsChangesOncePerBatchAndOnlyAtItsOutermostEnd)
{
    store.BeginUpdate();
    store.BeginUpdate();
    fillWith(3);
    store.Item(1)->SetSelected(true);
    store.EndUpdate();
    EXPECT_EQ(observer.takeReports(), Reports{});
    store.EndUpdate();
    EXPECT_EQ(observer.takeReports(), (Reports{"append 0-2", "appended", "selection"}));

    // Outside a batch the first change asks for one flush, however many follow;
    // only a row already reported is reported changed.
    fillWith(2);
    store.Item(0)->SetSelected(true);
    store.Item(4)->SetCaption("new");
    store.Item(1)->SetCaption("renamed");
    EXPECT_EQ(observer.takeReports(), (Reports{"schedule", "row 1"}));
    store.BeginUpdate();
    store.RunScheduledFlush();
    EXPECT_EQ(observer.takeReports(), Reports{}) << "no flush inside a batch";
    store.EndUpdate();
    EXPECT_EQ(observer.takeReports(), (Reports{"append 3-4", "appended", "selection"}));
    store.RunScheduledFlush();
    EXPECT_EQ(observer.takeReports(), Reports{});
}

TEST_F(ListItemStoreTest, RemovesAFewRunsLastFirstAndClosesUpManyInOneReset)
{
    fillWith(20);
    store.RunScheduledFlush();
    observer.takeReports();
    deleteRows({2, 3, 7, 12, 13, 14});
    store.Add()->Delete();  // gone before any flush: never a row
    store.RunScheduledFlush();
    EXPECT_EQ(observer.takeReports(),
              (Reports{"schedule", "remove 12-14", "removed", "remove 7-7", "removed", "remove 2-3", "removed"}));
    EXPECT_EQ(store.Rows(), 14u);
    EXPECT_EQ(itemNames(), (std::vector<int>{0, 1, 4, 5, 6, 8, 9, 10, 11, 15, 16, 17, 18, 19}));

    // Nine runs: one reset, after which the selection, already reported
    // before, is reported again.
    store.Item(0)->SetSelected(true);
    fillWith(6);
    store.RunScheduledFlush();
    observer.takeReports();
    deleteRows({1, 3, 5, 7, 9, 11, 13, 15, 17});
    store.RunScheduledFlush();
    EXPECT_EQ(observer.takeReports(), (Reports{"schedule", "close up", "reset", "selection"}));
    EXPECT_EQ(store.Rows(), 11u);
    EXPECT_EQ(itemNames(), (std::vector<int>{0, 4, 6, 9, 11, 16, 18, 20, 22, 24, 25}));
    EXPECT_TRUE(store.Item(0)->Selected());
}

TEST_F(ListItemStoreTest, SelectedRunsCountTheViewsOwnSelectionAndSkipDeletedAndUnreportedItems)
{
    fillWith(8);
    store.RunScheduledFlush();
    store.Item(1)->SetSelected(true);
    store.MarkSelected(3, true);
    store.Item(5)->SetSelected(true);
    store.Item(5)->Delete();
    store.MarkSelected(5, true);  // a deleted row the view still shows
    store.MarkSelected(7, true);
    TListItem* unreported = store.Add();
    unreported->SubItems()->Add(nextPath());
    unreported->SetSelected(true);

    std::vector<std::pair<std::size_t, std::size_t>> runs;
    store.ForEachSelectedRun([&](std::size_t first, std::size_t last) { runs.emplace_back(first, last); });
    EXPECT_EQ(runs, (std::vector<std::pair<std::size_t, std::size_t>>{{1, 1}, {3, 3}, {7, 7}}));

    std::vector<std::string> selected;
    for (TListItem* item = store.NextSelected(nullptr); item != nullptr; item = store.NextSelected(item))
        selected.emplace_back((*item->SubItems())[0]);
    EXPECT_EQ(selected, (std::vector<std::string>{"/music/1.mp3", "/music/3.mp3", "/music/7.mp3", "/music/8.mp3"}));
}
