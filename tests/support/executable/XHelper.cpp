// What the executable tests ask of the X display, as a user's desktop
// would do it:
//   windows              every viewable top-level window: id x y w h name
//   close ID             asks the window to close (WM_DELETE_WINDOW)
//   clipboard            prints the clipboard's text
//   drag X Y URIFILE     shows a 100x100 drag source at X,Y; a mouse press
//                        on it drags the text/uri-list in URIFILE (raw
//                        bytes), prints "accepted" once a target takes
//                        the drag, then the drop's result, and stays
//                        until it is terminated
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

std::string windowName(Display* display, Window window)
{
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &items, &remaining,
                           &data) == Success &&
        data != nullptr) {
        name.assign(reinterpret_cast<char*>(data), items);
        XFree(data);
        return name;
    }
    char* plain = nullptr;
    if (XFetchName(display, window, &plain) && plain != nullptr) {
        name = plain;
        XFree(plain);
    }
    return name;
}

int listWindows()
{
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display)
        return 2;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display.get(), DefaultRootWindow(display.get()), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display.get(), children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        std::printf("%lu\t%d\t%d\t%d\t%d\t%s\n", children[i], attributes.x, attributes.y, attributes.width,
                    attributes.height, windowName(display.get(), children[i]).c_str());
    }
    if (children != nullptr)
        XFree(children);
    return 0;
}

int closeWindow(Window window)
{
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display)
        return 2;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display.get(), window, False, NoEventMask, &event);
    XFlush(display.get());
    return 0;
}

class DragSource : public QWidget {
public:
    explicit DragSource(QByteArray uriList) : uriList_(std::move(uriList)) {}

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* data = new QMimeData;  // the drag takes ownership
        data->setData("text/uri-list", uriList_);
        // On the heap: the window system keeps it until the target has its data.
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        // A test must not release the button before the target has
        // answered, or the drop is cancelled.
        connect(drag, &QDrag::actionChanged, this, [accepted = false](Qt::DropAction action) mutable {
            if (action != Qt::IgnoreAction && !accepted) {
                accepted = true;
                std::printf("accepted\n");
                std::fflush(stdout);
            }
        });
        const Qt::DropAction result = drag->exec(Qt::CopyAction);
        // The target may still fetch the data after the drop: stay, as the
        // drag's owner, until the test ends this program.
        std::printf("dropped %d\n", static_cast<int>(result));
        std::fflush(stdout);
    }

private:
    QByteArray uriList_;
};

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "windows")
        return listWindows();
    if (command == "close" && argc == 3)
        return closeWindow(std::strtoul(argv[2], nullptr, 10));
    QApplication application(argc, argv);
    if (command == "clipboard") {
        std::printf("%s", QApplication::clipboard()->text().toUtf8().constData());
        return 0;
    }
    if (command == "drag" && argc == 5) {
        QFile file(argv[4]);
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        DragSource source(file.readAll());
        source.setWindowTitle("kolvi drag source");
        source.setGeometry(std::atoi(argv[2]), std::atoi(argv[3]), 100, 100);
        source.show();
        return QApplication::exec();
    }
    std::fprintf(stderr, "usage: %s windows | close ID | clipboard | drag X Y URIFILE\n", argv[0]);
    return 2;
}
