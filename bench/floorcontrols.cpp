#include "floorcontrols.h"

#include "layout.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace {

// The family the game draws with, named plainly: Qt is left to find it.
#ifdef Q_OS_WIN
const char *const kFace = "MS Sans Serif";
#else
const char *const kFace = "Liberation Sans";
#endif

int pixels(int twips)
{
    return (twips + 7) / 15;
}

QFont face(int pixelSize)
{
    QFont font(QString::fromLatin1(kFace));
    font.setPixelSize(pixelSize);
    return font;
}

QWidget *plainControl(const layout::Control &design, QWidget &window)
{
    const QString text = QString::fromUtf8(design.text);
    switch (design.kind) {
    case layout::Kind::List: {
        auto *list = new QListWidget(&window);
        for (const layout::Speed &speed : layout::kSpeeds)
            list->addItem(QString::fromUtf8(speed.listText));
        list->setCurrentRow(0);
        list->setFont(face(18));
        return list;
    }
    case layout::Kind::Label: {
        auto *label = new QLabel(text, &window);
        label->setFont(face(24));
        return label;
    }
    case layout::Kind::Button:
        return new QPushButton(text, &window);
    case layout::Kind::Picture: {
        auto *frame = new QFrame(&window);
        frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        // A picture box is opaque: it hides what it passes over, so Qt moves it by
        // copying its pixels rather than by drawing both places again.
        frame->setAutoFillBackground(true);
        return frame;
    }
    }
    return nullptr;
}

} // namespace

void addFloorControls(QWidget &window)
{
    window.setWindowTitle(QString::fromUtf8(layout::kCaption));
    window.resize(pixels(layout::kClientWidth), pixels(layout::kClientHeight));
    for (const layout::Control &design : layout::kControls) {
        QWidget *control = plainControl(design, window);
        control->setObjectName(QString::fromUtf8(design.name));
        control->setGeometry(pixels(design.left), pixels(design.top), pixels(design.width),
                             pixels(design.height));
    }
}
