#include "placement.h"

#include "messagebox.h"
#include "settingsstore.h"
#include "textfile.h"
#include "twips.h"

#include <cmath>
#include <limits>

namespace tavrin {

namespace {
const QString section = QStringLiteral("Settings");

float readTwips(const QString &key, float defaultValue)
{
    const QString text = GetSetting(applicationTitle(), section, key, formatSingle(defaultValue));
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    return ok && std::isfinite(value) ? value : defaultValue;
}

// The smallest part of a window that must show on a screen for the user to reach it.
constexpr int MinVisible = 32;
} // namespace

Placement Placement::load()
{
    Placement p;
    p.left = readTwips(QStringLiteral("MainLeft"), p.left);
    p.top = readTwips(QStringLiteral("MainTop"), p.top);
    p.width = readTwips(QStringLiteral("MainWidth"), p.width);
    p.height = readTwips(QStringLiteral("MainHeight"), p.height);
    return p;
}

void Placement::save() const
{
    SaveSetting(applicationTitle(), section, QStringLiteral("MainLeft"), formatSingle(left));
    SaveSetting(applicationTitle(), section, QStringLiteral("MainTop"), formatSingle(top));
    SaveSetting(applicationTitle(), section, QStringLiteral("MainWidth"), formatSingle(width));
    SaveSetting(applicationTitle(), section, QStringLiteral("MainHeight"), formatSingle(height));
}

QRect Placement::toPixels(double dpiX, double dpiY) const
{
    // Clamp before converting, so absurd stored values cannot overflow an int.
    auto clamp = [](float v) { return std::clamp(double(v), -1.0e8, 1.0e8); };
    return QRect(twipsToPixels(clamp(left), dpiX), twipsToPixels(clamp(top), dpiY),
                 twipsToPixels(clamp(width), dpiX), twipsToPixels(clamp(height), dpiY));
}

Placement Placement::fromPixels(const QRect &frame, double dpiX, double dpiY)
{
    return {float(std::round(pixelsToTwips(frame.x(), dpiX))),
            float(std::round(pixelsToTwips(frame.y(), dpiY))),
            float(std::round(pixelsToTwips(frame.width(), dpiX))),
            float(std::round(pixelsToTwips(frame.height(), dpiY)))};
}

QRect keepOnScreen(const QRect &frame, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return frame;
    for (const QRect &screen : screens) {
        const QRect shared = screen.intersected(frame);
        if (shared.width() >= MinVisible && shared.height() >= MinVisible)
            return frame;
    }
    // The nearest screen: the least distance between the window's centre and the screen.
    const QRect *nearest = &screens.first();
    double best = std::numeric_limits<double>::max();
    const QPoint centre = frame.center();
    for (const QRect &screen : screens) {
        const double dx = std::max({screen.left() - centre.x(), 0, centre.x() - screen.right()});
        const double dy = std::max({screen.top() - centre.y(), 0, centre.y() - screen.bottom()});
        const double distance = dx * dx + dy * dy;
        if (distance < best) {
            best = distance;
            nearest = &screen;
        }
    }
    QRect moved(frame.topLeft(), QSize(std::min(frame.width(), nearest->width()),
                                       std::min(frame.height(), nearest->height())));
    if (moved.width() <= 0 || moved.height() <= 0)
        moved.setSize(QSize(std::max(moved.width(), MinVisible * 4), std::max(moved.height(), MinVisible * 4)));
    moved.moveLeft(std::clamp(moved.left(), nearest->left(), nearest->right() - moved.width() + 1));
    moved.moveTop(std::clamp(moved.top(), nearest->top(), nearest->bottom() - moved.height() + 1));
    return moved;
}

} // namespace tavrin
