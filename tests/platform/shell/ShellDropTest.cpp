// Files dropped on a real window through Qt's drag-and-drop events reach its
// Dispatch as WM_DROPFILES, and the drop handle answers as the shell's does.
#include "platform/shell/ShellDrop.h"
#include "platform/win/WinMessage.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <climits>
#include <functional>
#include <memory>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

using namespace std::string_literals;

namespace {

// The window side of a drop, written as the main window's handler is: ask
// for the count, fetch each name by its length, release the handle.
class DropWindow : public QWidget {
public:
    HWND Handle() { return this; }

    bool event(QEvent* event) override
    {
        if (event->type() != TMessageEvent::eventType())
            return QWidget::event(event);
        Dispatch(static_cast<TMessageEvent*>(event)->message());
        return true;
    }

    void Dispatch(TMessage& message)
    {
        if (message.Msg != WM_DROPFILES)
            return;
        ++drops;
        handle = reinterpret_cast<HDROP>(message.WParam);
        if (inspect)
            inspect(handle);
        const UINT count = DragQueryFileA(handle, DragFileCount, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::string name(DragQueryFileA(handle, i, nullptr, 0) + 1, '#');
            const UINT copied = DragQueryFileA(handle, i, name.data(), static_cast<UINT>(name.size()));
            EXPECT_EQ(copied + 1, name.size());
            EXPECT_EQ(name.back(), '\0');
            name.pop_back();
            names.push_back(name);
        }
        DragFinish(handle);
    }

    int drops = 0;
    HDROP handle = nullptr;
    std::vector<std::string> names;
    std::function<void(HDROP)> inspect;
};

// A drop from another program: its data is handed out as the bytes that
// program sent, unconverted (Qt's own QMimeData re-encodes a uri-list set on
// it through UTF-8, as a drag inside the player would).
class ForeignDropData : public QMimeData {
public:
    explicit ForeignDropData(const std::string& bytes) : bytes_(bytes.data(), static_cast<qsizetype>(bytes.size())) {}
    QStringList formats() const override { return {UriListFormat}; }
    bool hasFormat(const QString& format) const override { return format == UriListFormat; }

protected:
    QVariant retrieveData(const QString& format, QMetaType) const override
    {
        return format == UriListFormat ? QVariant(bytes_) : QVariant();
    }

private:
    static inline const QString UriListFormat = QStringLiteral("text/uri-list");
    QByteArray bytes_;
};

class ShellDropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_.resize(200, 100);
        window_.show();
    }

    static std::unique_ptr<QMimeData> uriList(const std::string& bytes)
    {
        return std::make_unique<ForeignDropData>(bytes);
    }

    // Enter, move and drop as a drag from a file manager delivers them;
    // answers whether the enter was accepted and with which action.
    bool drag(const QMimeData& data, Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction,
              Qt::DropAction* chosen = nullptr)
    {
        const QPoint at(50, 50);
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window_, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window_, &move);
        EXPECT_TRUE(move.isAccepted());
        QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window_, &drop);
        EXPECT_TRUE(drop.isAccepted());
        if (chosen)
            *chosen = drop.dropAction();
        return true;
    }

    DropWindow window_;
};

TEST_F(ShellDropTest, DroppedLocalFilesArriveAsExactBytes)
{
    DragAcceptFiles(window_.Handle(), TRUE_);
    EXPECT_TRUE(window_.acceptDrops());
    char host[HOST_NAME_MAX + 1] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    const auto data = uriList("file:///home/u/My%20Music/Song%201.MP3\r\n"
                              "# a comment line\r\n"
                              "http://www.example.com/remote.mp3\r\n"
                              "file:///home/u/%B0%A1%B3%AA.mp3\r\n"
                              "file://localhost/home/u/caf%C3%A9%25.mp3\r\n"
                              "file://otherhost/share/skipped.mp3\r\n"
                              "file://"s + host + "/home/u/here.wav\r\n"
                              "smb://server/share/skipped.mp3\r\n"
                              "file:///home/u/raw\xFF byte\n"
                              "file:///home/u/evil%00.mp3\r\n");
    Qt::DropAction action = Qt::IgnoreAction;
    ASSERT_TRUE(drag(*data, Qt::CopyAction | Qt::MoveAction, &action));
    EXPECT_EQ(action, Qt::CopyAction) << "a drop must never let the source move the files away";
    EXPECT_EQ(window_.drops, 1);
    EXPECT_EQ(window_.names, (std::vector<std::string>{"/home/u/My Music/Song 1.MP3", "/home/u/\xB0\xA1\xB3\xAA.mp3",
                                                        "/home/u/caf\xC3\xA9%.mp3", "/home/u/here.wav",
                                                        "/home/u/raw\xFF byte"}));
}

TEST_F(ShellDropTest, ADragInsideQtDeliversItsFilesToo)
{
    DragAcceptFiles(window_.Handle(), TRUE_);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/home/u/My Music/a#1 100%.mp3"), QUrl("https://example.com/x.mp3"),
                  QUrl::fromLocalFile("/home/u/\uAC00.mp3")});
    ASSERT_TRUE(drag(data));
    EXPECT_EQ(window_.names, (std::vector<std::string>{"/home/u/My Music/a#1 100%.mp3", "/home/u/\xEA\xB0\x80.mp3"}));
}

TEST_F(ShellDropTest, DragsWithoutLocalFilesAreRefused)
{
    DragAcceptFiles(window_.Handle(), TRUE_);
    EXPECT_FALSE(drag(*uriList("http://www.example.com/a.mp3\r\nfile://elsewhere/a.mp3\r\n")));
    QMimeData text;
    text.setText("file:///home/u/a.mp3");
    EXPECT_FALSE(drag(text));
    EXPECT_FALSE(drag(*uriList("file:///home/u/a.mp3\r\n"), Qt::MoveAction)) << "a move-only drag";
    EXPECT_EQ(window_.drops, 0);

    const auto files = uriList("file:///home/u/a.mp3\r\n");
    Qt::DropAction action = Qt::IgnoreAction;
    EXPECT_TRUE(drag(*files, Qt::LinkAction, &action));
    EXPECT_EQ(action, Qt::LinkAction);
    EXPECT_EQ(window_.drops, 1);
}

TEST_F(ShellDropTest, OnlyAnAcceptingWindowGetsDrops)
{
    const auto data = uriList("file:///home/u/a.mp3\r\n");
    EXPECT_FALSE(drag(*data));
    DragAcceptFiles(window_.Handle(), TRUE_);
    DragAcceptFiles(window_.Handle(), TRUE_);
    EXPECT_TRUE(drag(*data));
    EXPECT_EQ(window_.drops, 1) << "accepting twice delivers a drop once";

    DragAcceptFiles(window_.Handle(), FALSE_);
    EXPECT_FALSE(window_.acceptDrops());
    EXPECT_FALSE(drag(*data));
    DragAcceptFiles(window_.Handle(), TRUE_);
    EXPECT_TRUE(drag(*data));
    EXPECT_EQ(window_.drops, 2);

    QObject notAWidget;
    DragAcceptFiles(&notAWidget, TRUE_);
    DragAcceptFiles(nullptr, TRUE_);
}

TEST_F(ShellDropTest, TheHandleAnswersCountLengthAndCutNames)
{
    DragAcceptFiles(window_.Handle(), TRUE_);
    window_.inspect = [](HDROP drop) {
        EXPECT_EQ(DragQueryFileA(drop, DragFileCount, nullptr, 0), 2u);
        EXPECT_EQ(DragQueryFileA(drop, 0, nullptr, 0), 12u);
        EXPECT_EQ(DragQueryFileA(drop, 1, nullptr, 0), 300u);
        EXPECT_EQ(DragQueryFileA(drop, 2, nullptr, 0), 0u);

        char small[5] = {'x', 'x', 'x', 'x', 'x'};
        EXPECT_EQ(DragQueryFileA(drop, 0, small, sizeof small), 4u);
        EXPECT_EQ(std::string(small, sizeof small), "/a/b\0"s);
        char one[2] = {'x', 'x'};
        EXPECT_EQ(DragQueryFileA(drop, 0, one, 1), 0u);
        EXPECT_EQ(one[0], '\0');
        EXPECT_EQ(one[1], 'x');
        EXPECT_EQ(DragQueryFileA(drop, 0, one, 0), 0u);
        EXPECT_EQ(one[1], 'x');
        char wrong[4] = {'x', 'x', 'x', 'x'};
        EXPECT_EQ(DragQueryFileA(drop, 7, wrong, sizeof wrong), 0u);
        EXPECT_EQ(wrong[0], 'x');
    };
    const std::string longName = "/" + std::string(299, 'L');
    ASSERT_TRUE(drag(*uriList("file:///a/b/c%20d.mp3\r\nfile://" + longName + "\r\n")));
    EXPECT_EQ(window_.names, (std::vector<std::string>{"/a/b/c d.mp3", longName}));
}

TEST_F(ShellDropTest, AFinishedHandleAnswersNothing)
{
    DragAcceptFiles(window_.Handle(), TRUE_);
    bool checkedAfterFinish = false;
    window_.inspect = [&](HDROP drop) {
        DragFinish(drop);
        EXPECT_EQ(DragQueryFileA(drop, DragFileCount, nullptr, 0), 0u);
        char name[16] = {'x'};
        EXPECT_EQ(DragQueryFileA(drop, 0, name, sizeof name), 0u);
        EXPECT_EQ(name[0], 'x');
        DragFinish(drop);
        checkedAfterFinish = true;
    };
    ASSERT_TRUE(drag(*uriList("file:///a.mp3\r\n")));
    EXPECT_TRUE(checkedAfterFinish);
    EXPECT_TRUE(window_.names.empty());

    window_.inspect = nullptr;
    ASSERT_TRUE(drag(*uriList("file:///b.mp3\r\n")));
    EXPECT_EQ(window_.names, std::vector<std::string>{"/b.mp3"});
    // Once its message has been handled a handle is no longer valid.
    EXPECT_EQ(DragQueryFileA(window_.handle, DragFileCount, nullptr, 0), 0u);
    EXPECT_EQ(DragQueryFileA(nullptr, DragFileCount, nullptr, 0), 0u);
    DragFinish(nullptr);
}

}  // namespace
