#pragma once

#include <QPaintDevice>
#include <QPoint>
#include <QSize>

#include <cmath>

namespace tavrin {

// Window measures are given in twips, 1/1440 inch: 15 twips a pixel at 96 DPI.
inline constexpr double TwipsPerInch = 1440.0;

inline int twipsToPixels(double twips, double dpi)
{
    return int(std::lround(twips * dpi / TwipsPerInch));
}

inline double pixelsToTwips(int pixels, double dpi)
{
    return pixels * TwipsPerInch / dpi;
}

// Twips to pixels through a widget's (its screen's) logical DPI.
inline int twipsX(const QPaintDevice *device, double twips)
{
    return twipsToPixels(twips, device ? device->logicalDpiX() : 96.0);
}
inline int twipsY(const QPaintDevice *device, double twips)
{
    return twipsToPixels(twips, device ? device->logicalDpiY() : 96.0);
}

} // namespace tavrin
