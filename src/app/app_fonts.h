#pragma once
// The window's fonts: a Japanese gothic face at a pixel size.

#include <QFont>

namespace tonvika {

inline constexpr int kWindowFontPixels = 12;
inline constexpr int kLargeFontPixels = 16;  // Label2, Label3, Label6

QFont WindowFont(int pixel_size = kWindowFontPixels);

}  // namespace tonvika
