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

// Outer bounds, in pixels, that leave the window usable on the given screens
// (their available areas): the size is capped at the free area of the screen
// the window lands on (and kept at least at minimum, and 128 pixels each
// way), and bounds
// whose top strip of topStrip pixels (title bar and menu bar) would not lie
// on the screens are moved into that screen. Other bounds are kept as they are.
QRect keepOnScreen(const QRect &frame, const QList<QRect> &screens, int topStrip, const QSize &minimum = {});

} // namespace tavrin
