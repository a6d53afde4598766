#include "placement.h"

#include "messagebox.h"
#include "settingsstore.h"
#include "textfile.h"
#include "twips.h"

#include <QRegion>

#include <algorithm>
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

// The least width and height, in pixels, of a window that can still be used.
constexpr int MinSize = 128;
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
    return QRect(twipsToPixels(clamp(left), dpiX), twipsToPixels(clamp(top), dpiY), twipsToPixels(clamp(width), dpiX),
                 twipsToPixels(clamp(height), dpiY));
}

Placement Placement::fromPixels(const QRect &frame, double dpiX, double dpiY)
{
    return {float(std::round(pixelsToTwips(frame.x(), dpiX))), float(std::round(pixelsToTwips(frame.y(), dpiY))),
            float(std::round(pixelsToTwips(frame.width(), dpiX))),
            float(std::round(pixelsToTwips(frame.height(), dpiY)))};
}

QRect keepOnScreen(const QRect &frame, const QList<QRect> &screens, int topStrip, const QSize &minimum)
{
    if (screens.isEmpty())
        return frame;
    // The screen the window lands on: the one that shares most of it, or else
    // the one nearest to its centre.
    const QRect *landing = nullptr;
    qint64 bestShared = 0;
    for (const QRect &screen : screens) {
        const QRect shared = screen.intersected(frame);
        const qint64 area = shared.isEmpty() ? 0 : qint64(shared.width()) * shared.height();
        if (area > bestShared) {
            bestShared = area;
            landing = &screen;
        }
    }
    if (!landing) {
        double best = std::numeric_limits<double>::max();
        const QPoint centre = frame.center();
        for (const QRect &screen : screens) {
            const double dx = std::max({double(screen.left()) - centre.x(), 0.0, double(centre.x()) - screen.right()});
            const double dy = std::max({double(screen.top()) - centre.y(), 0.0, double(centre.y()) - screen.bottom()});
            if (dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                landing = &screen;
            }
        }
    }
    // Never larger than that screen's free area, and never too small to use.
    const QSize size = frame.size().expandedTo(minimum.expandedTo(QSize(MinSize, MinSize))).boundedTo(landing->size());
    QRect placed(frame.topLeft(), size);
    // The title bar and the menu bar must lie on the screens, across the
    // whole width, or their commands and the window's move handle are lost.
    QRegion desktop;
    for (const QRect &screen : screens)
        desktop += screen;
    const QRect strip(placed.left(), placed.top(), placed.width(), std::min(topStrip, placed.height()));
    if (!(QRegion(strip) - desktop).isEmpty()) {
        placed.moveLeft(std::clamp(placed.left(), landing->left(), landing->right() - placed.width() + 1));
        placed.moveTop(std::clamp(placed.top(), landing->top(), landing->bottom() - placed.height() + 1));
    }
    return placed;
}

} // namespace tavrin
