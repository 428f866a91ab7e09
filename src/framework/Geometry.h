#pragma once
// Points and rectangles in device pixels. A rectangle covers columns left..right-1 and rows
// top..bottom-1, as every rectangle of the drawing calls does.

namespace trovelin {

struct TPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const TRect&) const = default;
};

}  // namespace trovelin
