#pragma once
// Colours and rectangles of the framework as Qt takes them.

#include <algorithm>

#include <QColor>
#include <QRect>

#include "framework/Geometry.h"
#include "framework/SystemColors.h"

namespace trovelin {

inline QColor toQColor(TColor color)
{
    const std::uint32_t value = colorToRgb(color);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

// Stored geometry may hold any 32-bit value. What reaches Qt is cut to a range whose widths
// and heights still fit an int, far beyond any device.
inline constexpr int qtCoordinateLimit = 1 << 28;

inline int toQtCoordinate(int value)
{
    return std::clamp(value, -qtCoordinateLimit, qtCoordinateLimit);
}

inline QPoint toQPoint(int x, int y)
{
    return {toQtCoordinate(x), toQtCoordinate(y)};
}

inline TRect clamped(const TRect& rect)
{
    return {toQtCoordinate(rect.left), toQtCoordinate(rect.top), toQtCoordinate(rect.right),
            toQtCoordinate(rect.bottom)};
}

inline QRect toQRect(const TRect& rect)
{
    return QRect(toQPoint(rect.left, rect.top), toQPoint(rect.right, rect.bottom) - QPoint(1, 1));
}

}  // namespace trovelin
