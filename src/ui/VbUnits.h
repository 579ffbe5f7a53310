#pragma once

#include <QColor>
#include <QRect>

// Window geometry is given in twips (15 to a pixel at 96 DPI) and colours as COLORREF values
// 0x00BBGGRR, where a value with the high bit set names a system colour by index.
namespace VbUnits {

inline constexpr int TwipsPerPixel = 15;
inline constexpr quint32 ButtonFace = 0x8000000F;

inline int px(int twips) { return (twips + TwipsPerPixel / 2) / TwipsPerPixel; }
inline int twips(int pixels) { return pixels * TwipsPerPixel; }
inline QRect rect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}
QColor color(quint32 colorRef);
quint32 colorRef(const QColor& color);

} // namespace VbUnits
