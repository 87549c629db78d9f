#include "platform/shell/ShellDrop.h"

#include "platform/shell/UriList.h"
#include "platform/win/WinMessage.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

struct HDROP__ {
    std::vector<std::string> names;
};

namespace {

const QString UriListFormat = QStringLiteral("text/uri-list");
const QString DropTargetName = QStringLiteral("KolviShellDropTarget");

// Handles in use; a stale or finished handle is answered with nothing
// instead of being read after its end.
std::unordered_set<const HDROP__*>& liveDrops()
{
    static std::unordered_set<const HDROP__*> drops;
    return drops;
}

class LiveDrop {
public:
    explicit LiveDrop(std::vector<std::string> names) : drop_{std::move(names)} { liveDrops().insert(&drop_); }
    ~LiveDrop() { liveDrops().erase(&drop_); }
    LiveDrop(const LiveDrop&) = delete;
    LiveDrop& operator=(const LiveDrop&) = delete;
    HDROP handle() { return &drop_; }

private:
    HDROP__ drop_;
};

std::vector<std::string> droppedFiles(const QMimeData* data)
{
    if (data == nullptr || !data->hasFormat(UriListFormat))
        return {};
    // The raw bytes: Qt's own URL conversions assume UTF-8 and would change
    // names in any other encoding.
    const QByteArray uriList = data->data(UriListFormat);
    return localFilesOfUriList(std::string_view(uriList.constData(), static_cast<std::size_t>(uriList.size())));
}

// The files are only read, never taken: a move would let the source delete them.
bool offerCopy(QDropEvent* event)
{
    if (event->possibleActions() & Qt::CopyAction)
        event->setDropAction(Qt::CopyAction);
    else if (event->possibleActions() & Qt::LinkAction)
        event->setDropAction(Qt::LinkAction);
    else
        return false;
    event->accept();
    return true;
}

class DropTarget : public QObject {
public:
    explicit DropTarget(QWidget* window) : QObject(window), window_(window)
    {
        setObjectName(DropTargetName);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_)
            return false;
        switch (event->type()) {
        case QEvent::DragEnter: {
            auto* drag = static_cast<QDragEnterEvent*>(event);
            dragHasFiles_ = !droppedFiles(drag->mimeData()).empty();
            if (!dragHasFiles_ || !offerCopy(drag))
                drag->ignore();
            return true;
        }
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!dragHasFiles_ || !offerCopy(drag))
                drag->ignore();
            return true;
        }
        case QEvent::DragLeave:
            dragHasFiles_ = false;
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            dragHasFiles_ = false;
            auto files = droppedFiles(drop->mimeData());
            if (files.empty() || !offerCopy(drop)) {
                drop->ignore();
                return true;
            }
            LiveDrop handle(std::move(files));
            SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(handle.handle()), 0);
            return true;
        }
        default:
            return false;
        }
    }

private:
    QWidget* window_;
    bool dragHasFiles_ = false;
};

const HDROP__* live(HDROP drop)
{
    return drop != nullptr && liveDrops().contains(drop) ? drop : nullptr;
}

}  // namespace

void DragAcceptFiles(HWND window, BOOL accept)
{
    auto* widget = qobject_cast<QWidget*>(window);
    if (widget == nullptr)
        return;
    auto* existing = widget->findChild<QObject*>(DropTargetName, Qt::FindDirectChildrenOnly);
    if (accept && existing == nullptr) {
        new DropTarget(widget);  // owned by the widget
        widget->setAcceptDrops(true);
    } else if (!accept && existing != nullptr) {
        widget->removeEventFilter(existing);
        existing->setObjectName(QString());  // a new target may be installed before this one goes
        existing->deleteLater();
        widget->setAcceptDrops(false);
    }
}

UINT DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size)
{
    const HDROP__* files = live(drop);
    if (files == nullptr)
        return 0;
    if (index == DragFileCount)
        return static_cast<UINT>(files->names.size());
    if (index >= files->names.size())
        return 0;
    const std::string& name = files->names[index];
    if (buffer == nullptr)
        return static_cast<UINT>(name.size());
    if (size == 0)
        return 0;
    const std::size_t copied = std::min<std::size_t>(name.size(), size - 1);
    std::memcpy(buffer, name.data(), copied);
    buffer[copied] = '\0';
    return static_cast<UINT>(copied);
}

void DragFinish(HDROP drop)
{
    if (live(drop) == nullptr)
        return;
    liveDrops().erase(drop);
    drop->names.clear();
}
