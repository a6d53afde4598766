#pragma once

// Pictures that Qt cannot draw (Windows and enhanced metafiles, Mac PICT,
// OS/2 metafiles, device-dependent bitmaps, and PNG or JPEG data that does
// not decode): the reader shows a placeholder of the picture's size that
// says what it is, and keeps the picture's group as it stood in the file on
// the image's format, so that the writer writes it back unchanged.

#include "rtfformat.h"

#include <QImage>
#include <QSizeF>
#include <QString>

namespace tavrin::rtf {

enum PictureProperty : int {
    // QByteArray: the whole "{\pict ...}" group as read, braces included.
    PictureOriginal = PictureFirst,
    // QString: what the picture is, as its placeholder says ("WMF picture").
    PictureKind = PictureFirst + 1,
};

// The picture formats the reader meets, by their control word.
enum class PictureFormat : quint8 { Png, Jpeg, Wmf, Emf, MacPict, Os2Metafile, Bitmap };

// "WMF picture", "Bitmap picture" ...
QString pictureKind(PictureFormat format);

// The picture's shown size in pixels, from its goal size in twips or else
// its own size (hundredths of a millimetre for metafiles, pixels for the
// others), scaled by percentages; a picture that gives none is an inch square.
QSizeF placeholderSize(PictureFormat format, int w, int h, int wGoal, int hGoal, int scaleX, int scaleY);

// The image shown in a picture's place: a grey frame with the kind written
// in it, at most 480 pixels on its longer side (the document scales it to
// the shown size). The text is drawn only where a QGuiApplication runs.
QImage placeholderImage(const QString &kind, QSizeF shown);

} // namespace tavrin::rtf
