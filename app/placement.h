#pragma once

#include <QList>
#include <QRect>

namespace tavrin {

// The main window's remembered outer bounds, in twips, as the settings store holds them.
struct Placement {
    float left = 1000;
    float top = 1000;
    float width = 6500;
    float height = 6500;

    // Reads the four keys; a key that is absent or not a number gives its default.
    static Placement load();
    // Writes the four keys, in the order left, top, width, height.
    void save() const;

    QRect toPixels(double dpiX, double dpiY) const;
    static Placement fromPixels(const QRect &frame, double dpiX, double dpiY);
};

// Bounds that lie off every screen are moved onto the nearest one (and shrunk
// to fit it); bounds that show on some screen are kept as they are.
QRect keepOnScreen(const QRect &frame, const QList<QRect> &screens);

} // namespace tavrin
