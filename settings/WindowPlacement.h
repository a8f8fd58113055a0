#pragma once
// The main window's placement as the store keeps it under "MainForm": seven
// whole numbers "200,flags,showCmd,left,top,right,bottom" in the Windows
// numbering (right and bottom are exclusive edges), and the rules that put a
// restored window back on the desktop. Pure functions, testable without a
// window.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

struct WindowPlacement
{
    // The first number of the value; anything else is not ours.
    static constexpr int FormatMark = 200;
    // Window system numbering of the placement flags and show state.
    static constexpr int NoFlags = 0;
    static constexpr int RestoreToMaximized = 2; // WPF_RESTORETOMAXIMIZED
    static constexpr int ShowNormal = 1;         // SW_SHOWNORMAL
    static constexpr int ShowMinimized = 2;      // SW_SHOWMINIMIZED
    static constexpr int ShowMaximized = 3;      // SW_SHOWMAXIMIZED

    int flags = NoFlags;
    int showCmd = ShowNormal;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // The restored (normal) rectangle.
    QRect NormalRect() const { return QRect(QPoint(left, top), QSize(right - left, bottom - top)); }
    void SetNormalRect(const QRect& rect);

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

QString FormatPlacement(const WindowPlacement& placement);

// Exactly seven whole numbers, the first "200", and a rectangle of positive
// size that a window can have; anything else gives nothing (the window is
// then centred instead).
std::optional<WindowPlacement> ParsePlacement(const QString& text);

// Moves the rectangle (keeping its size) so that it lies inside the desktop,
// checking the right, bottom, left and top edges in this order, so that a
// window larger than the desktop keeps its top left corner visible.
QRect ClampToDesktop(const QRect& window, const QRect& desktop);

// The rectangle a restored window takes: its size bounded to the desktop's
// (a stored size may be absurd), though never below `smallest`, and then put
// on the desktop by ClampToDesktop. Without a desktop (no screen) the size is
// only kept from falling below `smallest`.
QRect FitToDesktop(const QRect& window, const QRect& desktop, QSize smallest);

// The frame's share of each edge between a window's outer and client
// rectangles; nothing where the two do not nest (no frame known yet).
QMargins FrameMargins(const QRect& outer, const QRect& client);

// The top left corner that centres a window of this size on the screen, with
// halves rounded toward zero.
QPoint CentredTopLeft(const QRect& screen, const QSize& window);
