// Plain value types shared by the portable drawing decisions of the button
// and the label. No Windows headers: the Win32 classes convert at the edge.
#pragma once

#include <cstdint>

namespace tarnelix::style {

// A colour as red, green and blue components from 0 to 255.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

constexpr bool operator==(Rgb a, Rgb b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

constexpr bool operator!=(Rgb a, Rgb b)
{
    return !(a == b);
}

// The 0x00BBGGRR layout of a Win32 COLORREF, so the Win32 side can cast
// without knowing the component order.
constexpr std::uint32_t ToColourRef(Rgb colour)
{
    return static_cast<std::uint32_t>(colour.r) | (static_cast<std::uint32_t>(colour.g) << 8) |
           (static_cast<std::uint32_t>(colour.b) << 16);
}

constexpr Rgb FromColourRef(std::uint32_t value)
{
    return Rgb{static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
               static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

struct Point {
    int x = 0;
    int y = 0;
};

constexpr bool operator==(Point a, Point b)
{
    return a.x == b.x && a.y == b.y;
}

// Right and bottom are exclusive, as in a Win32 RECT.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

constexpr bool operator==(const Rect& a, const Rect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace tarnelix::style
