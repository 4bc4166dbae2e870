#include "display_connection.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client-core.h>

namespace quolvet {

void flushDisplayConnection()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    void* display = native ? native->nativeResourceForIntegration("wl_display") : nullptr;
    if (display) wl_display_flush(static_cast<wl_display*>(display));
}

}  // namespace quolvet
