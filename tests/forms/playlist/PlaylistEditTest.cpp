// Changing the playlist as a user does: the open and add buttons through
// the real file dialog, files dropped on the window, the delete button.
#include "tests/support/FileBytes.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/windows/PlayerFixture.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

namespace {

using Paths = std::vector<std::string>;

class PlaylistEdit : public PlayerFixture {
protected:
    void SetUp() override
    {
        PlayerFixture::SetUp();
        if (IsSkipped())
            return;
        writeFileBytes(listFile(), "5\r\r\n/old/one.mp3\r\r\n/old/two.mp3\r\r\n");
        start();
        form->show();
    }

    void TearDown() override { stop(); }

    std::string makeFile(const std::string& name)
    {
        writeFileBytes(folder() + name, "ID3");
        return folder() + name;
    }

    // Answers the next open dialog by typing names in its name box.
    void chooseInDialog(const QString& typed)
    {
        answerer_.expect([this, typed](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(files, nullptr);
            seenFilters_ = files->nameFilters();
            seenSuffix_ = files->defaultSuffix();
            seenMode_ = files->fileMode();
            seenNameBox_ = files->findChild<QLineEdit*>("fileNameEdit")->text();
            files->setDirectory(dir_.path());
            files->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
            files->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open)->click();
        });
    }

    void dropUris(const QByteArray& uriList)
    {
        QMimeData data;
        data.setData("text/uri-list", uriList);
        // As a drag from a file manager arrives: enter, move, drop.
        const QPoint at(100, 100);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form, &drop);
    }

    ModalAnswerer answerer_;
    QStringList seenFilters_;
    QString seenSuffix_;
    QString seenNameBox_;
    QFileDialog::FileMode seenMode_ = QFileDialog::AnyFile;
};

}  // namespace

TEST_F(PlaylistEdit, TheOpenButtonReplacesTheListWithTheChosenFilesAsTheyAreNamed)
{
    const std::string a = makeFile("a.mp3");
    const std::string b = makeFile("B Side.MP3");
    chooseInDialog("\"a.mp3\" \"B Side.MP3\"");
    QTest::mouseClick(form->btnOpen, Qt::LeftButton);

    ASSERT_TRUE(answerer_.allAnswered());
    EXPECT_EQ(paths(), (Paths{a, b}));
    EXPECT_EQ(captions(), (Paths{"a.mp3", "B Side.MP3"}));
    EXPECT_EQ(form->CurrentIndex, 5);
    EXPECT_EQ(seenFilters_, (QStringList{"MP3 Files(*.mp3) (*.mp3)", "All Files (*.*) (*)"}));
    EXPECT_EQ(seenSuffix_, "mp3");
    EXPECT_EQ(seenNameBox_, "*.mp3");
    EXPECT_EQ(seenMode_, QFileDialog::ExistingFiles);
}

TEST_F(PlaylistEdit, TheAddButtonAppendsEvenAFileAlreadyListed)
{
    const std::string a = makeFile("a.mp3");
    chooseInDialog("\"a.mp3\"");
    QTest::mouseClick(form->btnAdd, Qt::LeftButton);
    chooseInDialog("\"a.mp3\"");
    QTest::mouseClick(form->btnAdd, Qt::LeftButton);
    EXPECT_EQ(paths(), (Paths{"/old/one.mp3", "/old/two.mp3", a, a}));
}

TEST_F(PlaylistEdit, CancellingTheDialogChangesNothingEvenForOpen)
{
    answerer_.expect([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    QTest::mouseClick(form->btnOpen, Qt::LeftButton);
    EXPECT_TRUE(answerer_.allAnswered());
    EXPECT_EQ(paths(), (Paths{"/old/one.mp3", "/old/two.mp3"}));
}

TEST_F(PlaylistEdit, DroppedFilesWhosePathHoldsDotMp3AreAddedWithTheirCaseKept)
{
    dropUris("file:///music/Song.MP3\r\n"
             "file:///music/voice.wav\r\n"
             "file:///music/a.mp3.txt\r\n"
             "file:///music/Album.Mp3/cover.jpg\r\n"
             "file:///music/%B0%A1%ED%95%9C.mp3\r\n"
             "file:///music/plain%20folder\r\n");
    EXPECT_EQ(paths(), (Paths{"/old/one.mp3", "/old/two.mp3", "/music/Song.MP3", "/music/a.mp3.txt",
                              "/music/Album.Mp3/cover.jpg", "/music/\xB0\xA1\xED\x95\x9C.mp3"}));
    ASSERT_EQ(captions().size(), 6u);
    EXPECT_EQ(captions()[5], "\xB0\xA1\xED\x95\x9C.mp3");
    EXPECT_EQ(captions()[2], "Song.MP3");
    EXPECT_EQ(form->CurrentIndex, 5);
}

TEST_F(PlaylistEdit, ADroppedNameOfAnyLengthIsTakenWhole)
{
    const std::string longName = "/" + std::string(300, 'd') + "/" + std::string(250, 'n') + ".mp3";
    dropUris(QByteArray("file://") + QByteArray::fromStdString(longName) + "\r\n");
    EXPECT_EQ(paths().back(), longName);
}

TEST_F(PlaylistEdit, TheDeleteButtonRemovesEverySelectedEntryAndSelectsNone)
{
    dropUris("file:///m/c.mp3\r\nfile:///m/d.mp3\r\nfile:///m/e.mp3\r\n");
    select({0, 2, 4});
    QTest::mouseClick(form->btnDel, Qt::LeftButton);
    EXPECT_EQ(paths(), (Paths{"/old/two.mp3", "/m/d.mp3"}));
    EXPECT_EQ(selected(), (std::vector<int>{}));
    EXPECT_EQ(form->CurrentIndex, 5);

    QTest::mouseClick(form->btnDel, Qt::LeftButton);
    EXPECT_EQ(paths(), (Paths{"/old/two.mp3", "/m/d.mp3"}));
}

TEST_F(PlaylistEdit, DeselectAllClearsASelectionMadeInTheView)
{
    QCoreApplication::processEvents();
    QTreeView* view = form->lvFileList;
    view->selectionModel()->select(view->model()->index(1, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(selected(), (std::vector<int>{1}));
    form->DeselectAll();
    EXPECT_EQ(selected(), (std::vector<int>{}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(view->selectionModel()->selectedRows().isEmpty());
}
