#include "copybox.h"

#include "textfile.h"

#include <QMimeData>
#include <QTextCursor>

namespace tavrin {

namespace {
QString withCrLf(QString text)
{
    // A text box holds its lines apart as paragraphs; in plain text they come
    // out as U+2029 or LF, and both become CR LF.
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text.split(QLatin1Char('\n')).join(CRLF);
}
} // namespace

QString CopyBox::text() const
{
    return withCrLf(toPlainText());
}

QMimeData *CopyBox::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    data->setText(withCrLf(textCursor().selectedText()));
    return data;
}

} // namespace tavrin
