#include "pictureboxaccessible.h"

#include "picturebox.h"

PictureBoxAccessible::PictureBoxAccessible(QWidget *pictureBox)
    : QAccessibleWidget(pictureBox, QAccessible::Graphic)
{
}

QAccessibleInterface *PictureBoxAccessible::create(const QString &className, QObject *object)
{
    if (className != QLatin1String(PictureBox::staticMetaObject.className()))
        return nullptr;
    auto *pictureBox = qobject_cast<PictureBox *>(object);
    return pictureBox ? new PictureBoxAccessible(pictureBox) : nullptr;
}
