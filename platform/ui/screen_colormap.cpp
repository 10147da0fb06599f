#include "platform/ui/screen_colormap.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace ui {

namespace {

// Gives `window` the default colormap of the screen whose root visual it
// uses; before the window is mapped, so it never shows with another one.
void useDefaultColormap(xcb_connection_t* connection, xcb_window_t window) {
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window),
                                        nullptr),
        &std::free);
    if (!attributes)
        return;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem;
         xcb_screen_next(&it)) {
        const xcb_screen_t* screen = it.data;
        if (screen->root_visual != attributes->visual)
            continue;
        if (attributes->colormap != screen->default_colormap) {
            const std::uint32_t colormap = screen->default_colormap;
            xcb_change_window_attributes(connection, window, XCB_CW_COLORMAP, &colormap);
            xcb_flush(connection);
        }
        return;
    }
}

// Watches every object of the application for a window about to be shown.
class ColormapFilter : public QObject {
public:
    ColormapFilter(QApplication& application, xcb_connection_t* connection)
        : QObject(&application), connection_(connection) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A widget receives its show event after its window exists and
        // before the window is mapped.
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow())
                useDefaultColormap(connection_, static_cast<xcb_window_t>(widget->winId()));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    xcb_connection_t* connection_;
};

} // namespace

void useScreenColormap(QApplication& application) {
    auto* x11 = application.nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    application.installEventFilter(new ColormapFilter(application, x11->connection()));
}

} // namespace ui
