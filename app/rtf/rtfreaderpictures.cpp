// The reader's pictures.
#include "rtfreader_p.h"

namespace tavrin::rtf::reading {

namespace {

std::atomic<quint64> imageCounter{0};

} // namespace

void Reader::pictureFormat(PictureFormat format)
{
    if (top().dest == Dest::Picture)
        m_picture.format = format;
}

void Reader::endPicture()
{
    Picture pic = std::move(m_picture);
    m_picture = Picture();
    if (!pic.format || m_stack.size() < 2)
        return;
    const State &outer = m_stack[m_stack.size() - 2];
    if (outer.dest != Dest::Text || outer.chr.hidden)
        return;
    QImage image;
    QString kind;
    QByteArray original;
    if (pic.format == PictureFormat::Png || pic.format == PictureFormat::Jpeg) {
        // The decoded size is known from the header: a picture is refused
        // before it is decoded if it would take the document past its budget.
        QBuffer buffer(&pic.data);
        QImageReader reader(&buffer, pic.format == PictureFormat::Png ? "PNG" : "JPEG");
        const QSize size = reader.size();
        const qint64 bytes = size.isValid() ? qint64(size.width()) * size.height() * 4 : 0;
        if (m_pictureBytes + bytes > MaxPictureBytes) {
            refuse(TooManyPicturesError);
            return;
        }
        if (!pic.data.isEmpty())
            image = reader.read();
        m_pictureBytes += std::max<qint64>(bytes, image.sizeInBytes());
    }
    // Shown size: the goal size in twips (15 twips a pixel at 96 DPI) or the
    // image's own, scaled by \picscalex/y percent, and within the largest
    // size a picture takes.
    double w, h;
    if (!image.isNull()) {
        w = (pic.wGoal > 0 ? pic.wGoal / double(TwipsPerPixel) : image.width()) * pic.scaleX / 100.0;
        h = (pic.hGoal > 0 ? pic.hGoal / double(TwipsPerPixel) : image.height()) * pic.scaleY / 100.0;
    } else {
        // Only a picture whose group closed in the file is kept: what is
        // written back must be a whole group. One cut short is left out.
        if (!pic.start || !m_groupClose || m_groupClose <= pic.start)
            return;
        original = QByteArray(pic.start, m_groupClose - pic.start);
        const QSizeF shown = placeholderSize(*pic.format, pic.w, pic.h, pic.wGoal, pic.hGoal, pic.scaleX, pic.scaleY);
        w = shown.width();
        h = shown.height();
        kind = pictureKind(*pic.format);
    }
    if (const double over = std::max(w, h) / MaxPictureSide; over > 1) {
        w /= over;
        h /= over;
    }
    w = std::max(w, 1.0);
    h = std::max(h, 1.0);
    if (image.isNull()) {
        image = placeholderImage(kind, {w, h});
        const qint64 bytes = image.sizeInBytes() + original.size();
        if (m_pictureBytes + bytes > MaxPictureBytes) {
            refuse(TooManyPicturesError);
            return;
        }
        m_pictureBytes += bytes;
    }
    const QString name = QStringLiteral("rtfimage%1.png").arg(++imageCounter);
    m_doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
    m_images.push_back(name);
    // The picture belongs to the enclosing text.
    prepareOutput(outer);
    admitContent();
    flushRun();
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(w);
    format.setHeight(h);
    if (!kind.isEmpty()) {
        format.setProperty(PictureKind, kind);
        format.setToolTip(kind);
        if (!original.isEmpty())
            format.setProperty(PictureOriginal, original);
    }
    if (m_table)
        out()->insertImage(format);
    else
        m_cursor.insertImage(format);
    growByPicture(w, h);
}

void Reader::growByPicture(double w, double h)
{
    const int height = std::max(1, int(std::ceil(h)));
    m_para.chars += 1;
    m_para.width += qint64(std::ceil(w)) * 5;
    m_para.line = std::max(m_para.line, height);
    m_paraPending = true;
    if (m_table)
        m_tableHeight += height;
}

void Reader::pictureWord(State &s, Word word, int param, bool first)
{
    switch (word) {
    case Word::Pict:
        s.dest = Dest::Picture;
        m_picture = Picture();
        if (first && m_overflow == 0)
            m_picture.start = m_groupOpen;
        break;
    case Word::PngBlip: pictureFormat(PictureFormat::Png); break;
    case Word::JpegBlip: pictureFormat(PictureFormat::Jpeg); break;
    case Word::WmfBlip: pictureFormat(PictureFormat::Wmf); break;
    case Word::EmfBlip: pictureFormat(PictureFormat::Emf); break;
    case Word::MacPictBlip: pictureFormat(PictureFormat::MacPict); break;
    case Word::Os2Blip: pictureFormat(PictureFormat::Os2Metafile); break;
    case Word::BitmapBlip: pictureFormat(PictureFormat::Bitmap); break;
    case Word::PicW: m_picture.w = param; break;
    case Word::PicH: m_picture.h = param; break;
    case Word::PicWGoal: m_picture.wGoal = clampInt(param, 0, MaxTwips * 10); break;
    case Word::PicHGoal: m_picture.hGoal = clampInt(param, 0, MaxTwips * 10); break;
    case Word::PicScaleX: m_picture.scaleX = clampInt(param, 1, 1000); break;
    case Word::PicScaleY: m_picture.scaleY = clampInt(param, 1, 1000); break;
    default: break;
    }
}

} // namespace tavrin::rtf::reading
