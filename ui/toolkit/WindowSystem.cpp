#include "ui/toolkit/WindowSystem.h"

#include <QGuiApplication>

bool ProgramPlacesWindows()
{
    // "wayland", "wayland-egl", "wayland-brcm" …
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
