#include "frmico.h"

#include <QImageReader>
#include <QString>

frmIco::frmIco()
{
    for (int i = 0; i < kPictureCount; ++i)
        pictures_[i] = builtInPicture(i);
}

const QPixmap *frmIco::p(int index) const
{
    if (index < 0 || index >= kPictureCount)
        return nullptr;
    return &pictures_[index];
}

QPixmap builtInPicture(int index)
{
    // Told the format and kept from guessing it, the reader decodes with Qt's own PNG code
    // and never loads an image-format plugin to ask whether it knows the file better.
    QImageReader reader(QStringLiteral(":/pictures/p%1.png").arg(index, 2, 10, QLatin1Char('0')),
                        "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}
