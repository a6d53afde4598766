// Placeholders for the pictures Qt cannot draw.
#include "rtfpictures.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tavrin::rtf {

QString pictureKind(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Png: return QStringLiteral("PNG picture");
    case PictureFormat::Jpeg: return QStringLiteral("JPEG picture");
    case PictureFormat::Wmf: return QStringLiteral("WMF picture");
    case PictureFormat::Emf: return QStringLiteral("EMF picture");
    case PictureFormat::MacPict: return QStringLiteral("PICT picture");
    case PictureFormat::Os2Metafile: return QStringLiteral("OS/2 metafile picture");
    case PictureFormat::Bitmap: return QStringLiteral("Bitmap picture");
    }
    return QStringLiteral("Picture");
}

QSizeF placeholderSize(PictureFormat format, int w, int h, int wGoal, int hGoal, int scaleX, int scaleY)
{
    const bool metafile =
        format == PictureFormat::Wmf || format == PictureFormat::Emf || format == PictureFormat::Os2Metafile;
    // Hundredths of a millimetre to pixels at 96 DPI.
    const auto own = [metafile](int v) { return metafile ? v * 96.0 / 2540.0 : double(v); };
    double width = wGoal > 0 ? wGoal / double(TwipsPerPixel) : own(w);
    double height = hGoal > 0 ? hGoal / double(TwipsPerPixel) : own(h);
    if (width <= 0 || height <= 0)
        width = height = 96;
    return {width * scaleX / 100.0, height * scaleY / 100.0};
}

QImage placeholderImage(const QString &kind, QSizeF shown)
{
    constexpr double Largest = 480;
    const double scale = std::min(1.0, Largest / std::max({shown.width(), shown.height(), 1.0}));
    const int w = std::max(8, int(std::lround(shown.width() * scale)));
    const int h = std::max(8, int(std::lround(shown.height() * scale)));
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(0xf0, 0xf0, 0xf0));
    QPainter painter(&image);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(0, 0, w - 1, h - 1);
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) && w >= 24 && h >= 12) {
        QFont font = painter.font();
        font.setPixelSize(std::clamp(h / 6, 8, 14));
        painter.setFont(font);
        painter.setPen(QColor(0x40, 0x40, 0x40));
        painter.drawText(QRect(2, 2, w - 4, h - 4), Qt::AlignCenter | Qt::TextWordWrap, kind);
    }
    return image;
}

} // namespace tavrin::rtf
