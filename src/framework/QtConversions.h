#pragma once
// Colours and rectangles of the framework as Qt takes them.

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

inline QRect toQRect(const TRect& rect)
{
    return QRect(QPoint(rect.left, rect.top), QSize(rect.width(), rect.height()));
}

}  // namespace trovelin
