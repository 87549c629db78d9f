// The list view's item behaviour: entries by index, selection search,
// selecting without touching focus, scroll or other entries, deleting one
// at a time in a loop, counted update batches; and that the view shows
// exactly the items once control is back in the event loop.
#include "framework/ListView.h"
#include "tests/support/ScopedLocale.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <random>

namespace {

class ListView : public ::testing::Test {
protected:
    ListView()
    {
        list.resize(200, 150);
        list.AddColumn("Files", 50, true);
        list.SetMultiSelect(true);
    }

    void fill(int count)
    {
        for (int i = 0; i < count; ++i) {
            TListItem* item = list.Items()->Add();
            item->SetCaption("item" + std::to_string(i));
            item->SubItems()->Add("/path/item" + std::to_string(i));
        }
    }

    std::vector<std::string> captions()
    {
        std::vector<std::string> result;
        for (int i = 0; i < list.Items()->Count(); ++i)
            result.emplace_back(list.Items()->Item(i)->Caption());
        return result;
    }

    std::vector<int> selectedIndexes()
    {
        std::vector<int> result;
        for (TListItem* item = list.Selected(); item != nullptr; item = list.GetNextSelected(item))
            result.push_back(item->Index());
        return result;
    }

    // What the view shows, once pending changes have reached it.
    std::vector<std::string> shownCaptions()
    {
        QCoreApplication::processEvents();
        std::vector<std::string> result;
        for (int row = 0; row < list.model()->rowCount(); ++row)
            result.push_back(list.model()->index(row, 0).data().toString().toStdString());
        return result;
    }

    std::vector<int> shownSelection()
    {
        QCoreApplication::processEvents();
        std::vector<int> rows;
        for (const QModelIndex& index : list.selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    ScopedLocale locale_{Utf8Locale};
    TListView list;
};

}  // namespace

TEST_F(ListView, AnswersEntriesByIndexAndNothingOutsideTheRange)
{
    fill(3);
    EXPECT_EQ(list.Items()->Count(), 3);
    EXPECT_EQ(list.Items()->Item(0)->Caption(), "item0");
    EXPECT_EQ(list.Items()->Item(2)->Index(), 2);
    EXPECT_EQ(list.Items()->Item(3), nullptr);
    EXPECT_EQ(list.Items()->Item(-1), nullptr);
    EXPECT_EQ(list.Items()->Item(2)->SubItems()->Text(), "/path/item2\r\n");
}

TEST_F(ListView, FindsSelectedEntriesInListOrderWithoutWrapping)
{
    fill(6);
    EXPECT_EQ(list.Selected(), nullptr);
    list.Items()->Item(4)->SetSelected(true);
    list.Items()->Item(1)->SetSelected(true);
    EXPECT_EQ(list.Selected(), list.Items()->Item(1));
    EXPECT_EQ(list.GetNextSelected(list.Items()->Item(1)), list.Items()->Item(4));
    EXPECT_EQ(list.GetNextSelected(list.Items()->Item(2)), list.Items()->Item(4));
    EXPECT_EQ(list.GetNextSelected(list.Items()->Item(4)), nullptr);
    EXPECT_EQ(list.GetNextSelected(list.Items()->Item(5)), nullptr);
    EXPECT_EQ(selectedIndexes(), (std::vector<int>{1, 4}));
}

TEST_F(ListView, SelectingOneEntryLeavesOthersFocusAndScrollAlone)
{
    fill(100);
    list.show();
    QCoreApplication::processEvents();
    list.setCurrentIndex(list.model()->index(3, 0));
    list.Items()->Item(3)->SetSelected(false);
    list.Items()->Item(7)->SetSelected(true);
    list.verticalScrollBar()->setValue(10);
    QCoreApplication::processEvents();
    const int scroll = list.verticalScrollBar()->value();

    list.Items()->Item(90)->SetSelected(true);
    EXPECT_EQ(shownSelection(), (std::vector<int>{7, 90}));
    EXPECT_EQ(list.currentIndex().row(), 3);
    EXPECT_EQ(list.verticalScrollBar()->value(), scroll);

    list.Items()->Item(7)->SetSelected(false);
    EXPECT_EQ(shownSelection(), (std::vector<int>{90}));
    list.SetSelected(nullptr);
    EXPECT_EQ(shownSelection(), (std::vector<int>{}));
    EXPECT_EQ(list.Selected(), nullptr);
    EXPECT_EQ(list.currentIndex().row(), 3);
}

TEST_F(ListView, DeletingSelectedEntriesOneAtATimeKeepsTheOthersInOrder)
{
    fill(5);
    for (int index : {0, 2, 4})
        list.Items()->Item(index)->SetSelected(true);
    for (TListItem* item = list.Selected(); item != nullptr;) {
        TListItem* next = list.GetNextSelected(item);
        item->Delete();
        item = next;
    }
    EXPECT_EQ(list.Items()->Count(), 2);
    EXPECT_EQ(list.Selected(), nullptr);
    EXPECT_EQ(captions(), (std::vector<std::string>{"item1", "item3"}));
    EXPECT_EQ(list.Items()->Item(1)->Index(), 1);
    EXPECT_EQ(shownCaptions(), (std::vector<std::string>{"item1", "item3"}));
}

TEST_F(ListView, ALongScatteredDeletionLeavesExactlyTheUnselectedEntries)
{
    fill(3000);
    list.show();
    QCoreApplication::processEvents();
    std::mt19937 random(7);
    std::vector<std::string> expected;
    for (int i = 0; i < 3000; ++i) {
        if (random() % 3 == 0)
            list.Items()->Item(i)->SetSelected(true);
        else
            expected.push_back("item" + std::to_string(i));
    }
    // A user's own selection in the view counts too.
    list.selectionModel()->select(list.model()->index(5, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    std::erase(expected, "item5");

    for (TListItem* item = list.Selected(); item != nullptr;) {
        TListItem* next = list.GetNextSelected(item);
        item->Delete();
        item = next;
    }
    EXPECT_EQ(captions(), expected);
    EXPECT_EQ(shownCaptions(), expected);
    for (int i = 0; i < list.Items()->Count(); ++i)
        ASSERT_EQ(list.Items()->Item(i)->Index(), i);
    EXPECT_EQ(shownSelection(), (std::vector<int>{}));
}

TEST_F(ListView, EntriesAddedAndDeletedBeforeTheViewSawThemNeverShow)
{
    fill(3);
    QCoreApplication::processEvents();
    TListItem* added = list.Items()->Add();
    added->SetCaption("gone");
    list.Items()->Item(1)->Delete();
    added->Delete();
    fill(1);
    EXPECT_EQ(shownCaptions(), (std::vector<std::string>{"item0", "item2", "item0"}));
    EXPECT_EQ(list.Items()->Count(), 3);
}

TEST_F(ListView, UpdateBatchesNestAndReachTheViewOnlyAtTheOutermostEnd)
{
    TListItems* items = list.Items();
    items->BeginUpdate();
    items->BeginUpdate();
    fill(4);
    items->EndUpdate();
    QCoreApplication::processEvents();
    EXPECT_EQ(list.model()->rowCount(), 0);
    items->EndUpdate();
    EXPECT_EQ(list.model()->rowCount(), 4);
    items->EndUpdate();  // one too many is harmless
    fill(1);
    EXPECT_EQ(shownCaptions().size(), 5u);
}

TEST_F(ListView, ClearAndDeleteByIndexEmptyTheViewToo)
{
    fill(4);
    list.Items()->Delete(1);
    list.Items()->Delete(9);
    EXPECT_EQ(captions(), (std::vector<std::string>{"item0", "item2", "item3"}));
    list.Items()->Item(0)->SetSelected(true);
    list.Items()->Clear();
    EXPECT_EQ(list.Items()->Count(), 0);
    EXPECT_EQ(list.Selected(), nullptr);
    EXPECT_EQ(shownCaptions(), (std::vector<std::string>{}));
}

TEST_F(ListView, AClickSelectsTheRowAndTheItemKnowsIt)
{
    fill(5);
    list.show();
    QCoreApplication::processEvents();
    const QRect second = list.visualRect(list.model()->index(1, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second.center());
    const QRect fourth = list.visualRect(list.model()->index(3, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, fourth.center());
    EXPECT_EQ(selectedIndexes(), (std::vector<int>{1, 3}));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(selectedIndexes(), (std::vector<int>{1}));
}

TEST_F(ListView, ADoubleClickAnywhereInTheListIsReported)
{
    fill(2);
    list.show();
    int doubleClicks = 0;
    QObject::connect(&list, &TListView::OnDblClick, [&] { ++doubleClicks; });
    QCoreApplication::processEvents();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model()->index(0, 0)).center());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, list.viewport()->height() - 3));
    EXPECT_EQ(doubleClicks, 2);
}

TEST_F(ListView, ShowsCaptionsThroughTheLocaleAndNamesItsColumn)
{
    TListItem* item = list.Items()->Add();
    item->SetCaption("\xEB\x85\xB8\xEB\x9E\x98.mp3");
    EXPECT_EQ(shownCaptions(), (std::vector<std::string>{"노래.mp3"}));
    EXPECT_EQ(list.model()->headerData(0, Qt::Horizontal).toString(), "Files");
    EXPECT_EQ(list.header()->sectionResizeMode(0), QHeaderView::Stretch);
    item->SetCaption("renamed");
    EXPECT_EQ(list.model()->index(0, 0).data().toString(), "renamed");
}

TEST_F(ListView, CaptionsAndSubItemsKeepTheirOwnTextsWhateverTheOrderTheyAreSetIn)
{
    TListItems* items = list.Items();
    TListItem* titled = items->Add();
    titled->SetCaption("A title");
    titled->SubItems()->Add("/music/a.mp3");
    TListItem* named = items->Add();
    named->SubItems()->Add("/music/b.mp3");
    named->SetCaption("b.mp3");
    TListItem* whole = items->Add();
    whole->SubItems()->Add("/music/c.mp3");
    whole->SetCaption("/music/c.mp3");
    TListItem* many = items->Add();
    many->SubItems()->Add(std::string("/music/\0d.mp3", 13));
    many->SubItems()->Add("second");
    many->SubItems()->Add("");
    TListItem* big = items->Add();
    big->SubItems()->Add(std::string(300 * 1024, 'x') + "/e.mp3");
    big->SetCaption("e.mp3");

    EXPECT_EQ(titled->Caption(), "A title");
    EXPECT_EQ(titled->SubItems()->Text(), "/music/a.mp3\r\n");
    EXPECT_EQ(named->Caption(), "b.mp3");
    EXPECT_EQ((*named->SubItems())[0], "/music/b.mp3");
    EXPECT_EQ(whole->Caption(), "/music/c.mp3");
    EXPECT_EQ(many->Caption(), "");
    EXPECT_EQ(many->SubItems()->Count(), 3);
    EXPECT_EQ(many->SubItems()->Text(), std::string("/music/\0d.mp3\r\nsecond\r\n\r\n", 25));
    EXPECT_EQ(big->Caption(), "e.mp3");
    EXPECT_EQ((*big->SubItems())[0].size(), 300u * 1024 + 6);
    EXPECT_THROW((void)(*named->SubItems())[1], std::out_of_range);

    // A caption that is no longer the end of the path gets bytes of its own,
    // and texts taken from the list itself are copied before anything moves.
    named->SetCaption("b");
    EXPECT_EQ(named->Caption(), "b");
    named->SetCaption(titled->Caption());
    EXPECT_EQ(named->Caption(), "A title");
    titled->SetCaption((*titled->SubItems())[0]);
    EXPECT_EQ(titled->Caption(), "/music/a.mp3");
    whole->SetCaption("");
    whole->SubItems()->Add(whole->Caption());
    EXPECT_EQ(whole->SubItems()->Text(), "/music/c.mp3\r\n\r\n");
    EXPECT_EQ((*named->SubItems())[0], "/music/b.mp3");
    EXPECT_EQ(shownCaptions(), (std::vector<std::string>{"/music/a.mp3", "A title", "", "", "e.mp3"}));
}

TEST_F(ListView, TextsStayRightThroughManyRenamesDeletionsAndReusedEntries)
{
    TListItems* items = list.Items();
    const auto path = [](int i) { return "/music/album/" + std::to_string(i) + ".mp3"; };
    const auto title = [](int i, int round) { return std::to_string(round) + std::string(60, '-') + std::to_string(i); };
    for (int i = 0; i < 1000; ++i) {
        TListItem* item = items->Add();
        item->SubItems()->Add(path(i));
        item->SetCaption(std::to_string(i) + ".mp3");
    }
    // Some 3 MB of replaced captions: more than the live texts, so they are reclaimed.
    for (int round = 0; round < 50; ++round)
        for (int i = 0; i < 1000; ++i)
            items->Item(i)->SetCaption(title(i, round));
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(items->Item(i)->Caption(), title(i, 49));
        ASSERT_EQ((*items->Item(i)->SubItems())[0], path(i));
    }

    items->Item(7)->SetSelected(true);
    for (int i = 999; i >= 0; i -= 2)
        items->Item(i)->Delete();
    QCoreApplication::processEvents();
    // Removed entries come back as new ones: nothing of the old ones is left.
    for (int i = 0; i < 500; ++i) {
        TListItem* item = items->Add();
        EXPECT_EQ(item->Caption(), "");
        EXPECT_EQ(item->SubItems()->Count(), 0);
        EXPECT_FALSE(item->Selected());
        item->SubItems()->Add(path(1000 + i));
    }
    ASSERT_EQ(items->Count(), 1000);
    EXPECT_EQ(list.Selected(), nullptr);
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(items->Item(i)->Caption(), title(2 * i, 49));
        ASSERT_EQ(items->Item(i)->SubItems()->Text(), path(2 * i) + "\r\n");
        ASSERT_EQ(items->Item(500 + i)->SubItems()->Text(), path(1000 + i) + "\r\n");
    }
}
