#include "framework/webengine/EngineStart.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QQuickWindow>
#include <QtGui/private/qopenglcontext_p.h>
#include <unistd.h>

namespace {

// The context every web view shares its textures with. Qt makes one at
// start-up only when asked to before the application exists, which would
// load the OpenGL driver (tens of megabytes) into every player; here it is
// made when the first web view is. It goes with the application.
class SharedContext : public QOpenGLContext {
public:
    explicit SharedContext(QObject* owner) : QOpenGLContext(owner) {}
    ~SharedContext() override
    {
        if (qt_gl_global_share_context() == this)
            qt_gl_set_global_share_context(nullptr);
    }
};

}  // namespace

void PrepareWebEngineStart()
{
    // The engine's sandbox cannot work for the root user, and with it on
    // the engine ends at once. It is read when the engine starts.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qt_gl_global_share_context() != nullptr)
        return;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGLRhi);
    auto* context = new SharedContext(QCoreApplication::instance());
    context->create();
    qt_gl_set_global_share_context(context);
}
