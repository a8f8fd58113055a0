#pragma once
// The board geometry's points and areas as Qt's, for drawing and for tests
// that press where the flow and the painter compute.
#include <QPoint>
#include <QRect>

#include "game/rules/BoardGeometry.h"

inline QPoint ToQPoint(const CanvasPoint& p) { return {p.x, p.y}; }
inline QRect ToQRect(const CanvasRect& r) { return {r.left, r.top, r.width, r.height}; }
