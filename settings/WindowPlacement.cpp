#include "settings/WindowPlacement.h"

#include "settings/IntegerText.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace {
// The largest extent a widget can have (QWIDGETSIZE_MAX), without pulling
// the widget module into the settings library.
constexpr int LargestWindowExtent = (1 << 24) - 1;
} // namespace

void WindowPlacement::SetNormalRect(const QRect& rect)
{
    left = rect.x();
    top = rect.y();
    right = rect.x() + rect.width();
    bottom = rect.y() + rect.height();
}

QString FormatPlacement(const WindowPlacement& p)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7")
        .arg(WindowPlacement::FormatMark)
        .arg(p.flags)
        .arg(p.showCmd)
        .arg(p.left)
        .arg(p.top)
        .arg(p.right)
        .arg(p.bottom);
}

std::optional<WindowPlacement> ParsePlacement(const QString& text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 7 || parts[0] != QString::number(WindowPlacement::FormatMark))
        return std::nullopt;

    std::array<int, 7> numbers{};
    for (int i = 0; i < 7; ++i) {
        const std::optional<int> number = ParseIntegerText(parts[i]);
        if (!number)
            return std::nullopt;
        numbers[i] = *number;
    }

    // Edges beyond what any window can span would overflow the clamping
    // arithmetic and no window could take them anyway.
    for (int i = 3; i < 7; ++i) {
        if (numbers[i] < -LargestWindowExtent || numbers[i] > LargestWindowExtent)
            return std::nullopt;
    }

    const WindowPlacement placement{numbers[1], numbers[2], numbers[3], numbers[4], numbers[5], numbers[6]};
    // An empty or inverted rectangle cannot be a window's.
    if (placement.right <= placement.left || placement.bottom <= placement.top)
        return std::nullopt;
    return placement;
}

QRect ClampToDesktop(const QRect& window, const QRect& desktop)
{
    int left = window.x();
    int top = window.y();
    int right = window.x() + window.width();
    int bottom = window.y() + window.height();
    // The far edges are the desktop's own right and bottom, so that a desktop
    // that does not start at 0 (a screen left of or above the primary one)
    // keeps windows inside it as well.
    const int desktopRight = desktop.x() + desktop.width();
    const int desktopBottom = desktop.y() + desktop.height();

    if (right > desktopRight) {
        left = desktopRight - (right - left);
        right = desktopRight;
    }
    if (bottom > desktopBottom) {
        top = desktopBottom - (bottom - top);
        bottom = desktopBottom;
    }
    if (left < desktop.x()) {
        right = desktop.x() + (right - left);
        left = desktop.x();
    }
    if (top < desktop.y()) {
        bottom = desktop.y() + (bottom - top);
        top = desktop.y();
    }
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

QRect FitToDesktop(const QRect& window, const QRect& desktop, QSize smallest)
{
    if (desktop.isEmpty())
        return QRect(window.topLeft(), window.size().expandedTo(smallest));
    const QSize size(std::max(smallest.width(), std::min(window.width(), desktop.width())),
                     std::max(smallest.height(), std::min(window.height(), desktop.height())));
    return ClampToDesktop(QRect(window.topLeft(), size), desktop);
}

QMargins FrameMargins(const QRect& outer, const QRect& client)
{
    const QMargins frame(client.left() - outer.left(), client.top() - outer.top(), outer.right() - client.right(),
                         outer.bottom() - client.bottom());
    if (frame.left() < 0 || frame.top() < 0 || frame.right() < 0 || frame.bottom() < 0)
        return {};
    return frame;
}

QPoint CentredTopLeft(const QRect& screen, const QSize& window)
{
    return QPoint(screen.x() + (screen.width() - window.width()) / 2,
                  screen.y() + (screen.height() - window.height()) / 2);
}
