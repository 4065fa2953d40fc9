#pragma once

#include <QAccessibleWidget>

class QObject;
class QString;

// What assistive technology hears about a picture box: an image, known by the widget's
// accessible name and description. Qt would otherwise present the QFrame underneath as a
// window frame. Enabled, focusable and showing follow the widget.
class PictureBoxAccessible final : public QAccessibleWidget
{
public:
    explicit PictureBoxAccessible(QWidget *pictureBox);

    // For QAccessible::installFactory: answers for every PictureBox, declines anything else.
    static QAccessibleInterface *create(const QString &className, QObject *object);
};
