// The main window's stored placement ("MainForm"): any text either gives a
// placement a window can take or nothing, and what is accepted survives being
// written back and put on any desktop without overflowing; restored, it lies
// on the desktop and is not larger than it.
#include "settings/WindowPlacement.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// A desktop of plausible size and position, from the first bytes.
QRect DesktopFrom(const std::uint8_t* data, std::size_t size)
{
    const std::int32_t a = FuzzInt32(data, size);
    const std::int32_t b = size > 4 ? FuzzInt32(data + 4, size - 4) : 0;
    const int left = std::int16_t(a & 0xFFFF);
    const int top = std::int16_t(a >> 16);
    const int width = 1 + (b & 0x7FFF);
    const int height = 1 + ((b >> 16) & 0x7FFF);
    return QRect(left, top, width, height);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = FuzzText(data, size);
    const std::optional<WindowPlacement> placement = ParsePlacement(text);
    const QRect desktop = DesktopFrom(data, size);
    FuzzRequire(!text.isEmpty() || !placement, "an empty value is no placement");
    if (!placement)
        return 0;

    FuzzRequire(ParsePlacement(FormatPlacement(*placement)) == placement, "a stored placement reads back");
    const QRect window = placement->NormalRect();
    FuzzRequire(window.width() > 0 && window.height() > 0, "a placement has a positive size");

    const QRect clamped = ClampToDesktop(window, desktop);
    FuzzRequire(clamped.size() == window.size(), "keeping the window on the desktop keeps its size");
    FuzzRequire(clamped.left() >= desktop.left() && clamped.top() >= desktop.top(),
                "the top left corner is always on the desktop");
    if (window.width() <= desktop.width() && window.height() <= desktop.height())
        FuzzRequire(desktop.contains(clamped), "a window that fits the desktop lies inside it");

    // Restored: never larger than the desktop, on it, and not below the
    // smallest size the desktop can hold.
    const QSize smallest = QSize(640, 480).boundedTo(desktop.size());
    const QRect fitted = FitToDesktop(window, desktop, smallest);
    FuzzRequire(desktop.contains(fitted), "a restored window lies on the desktop");
    FuzzRequire(fitted.width() <= desktop.width() && fitted.height() <= desktop.height(),
                "a restored window is not larger than the desktop");
    FuzzRequire(fitted.width() >= smallest.width() && fitted.height() >= smallest.height(),
                "a restored window is not below the smallest size");
    if (desktop.contains(window) && window.width() >= smallest.width() && window.height() >= smallest.height())
        FuzzRequire(fitted == window, "a window on the desktop stays where it is");

    const QPoint centre = CentredTopLeft(desktop, window.size());
    FuzzRequire(centre.x() - desktop.x() == (desktop.width() - window.width()) / 2, "centred across");
    return 0;
}
