#include "platform/gui/ScreenColormap.h"

#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

// Sets the default colormap of the window's screen when the window uses that screen's visual.
void setDefaultColormap(xcb_connection_t* c, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t* a = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    if (!a)
        return;
    for (xcb_screen_iterator_t s = xcb_setup_roots_iterator(xcb_get_setup(c)); s.rem; xcb_screen_next(&s)) {
        if (s.data->root_visual == a->visual && s.data->default_colormap != a->colormap) {
            const uint32_t colormap = s.data->default_colormap;
            xcb_change_window_attributes(c, window, XCB_CW_COLORMAP, &colormap);
            break;
        }
    }
    std::free(a);
}

// Every window, once its native window exists and before it is shown.
class ColormapFilter : public QObject {
public:
    ColormapFilter(QObject* parent, xcb_connection_t* c) : QObject(parent), connection_(c) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::PlatformSurface &&
            static_cast<QPlatformSurfaceEvent*>(e)->surfaceEventType() == QPlatformSurfaceEvent::SurfaceCreated)
            if (auto* w = qobject_cast<QWindow*>(watched))
                setDefaultColormap(connection_, xcb_window_t(w->winId()));
        return false;
    }

private:
    xcb_connection_t* connection_;
};

}  // namespace

void UseScreenColormap()
{
    static bool installed = false;
    if (installed || !qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    installed = true;
    qGuiApp->installEventFilter(new ColormapFilter(qGuiApp, x11->connection()));
}
