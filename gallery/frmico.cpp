#include "frmico.h"

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
    return QPixmap(QStringLiteral(":/pictures/p%1.ico").arg(index, 2, 10, QLatin1Char('0')),
                   "ICO");
}
