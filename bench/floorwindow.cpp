// The least a window with the game's controls costs: the same kinds of standard
// widgets at the same places with the same texts, in the toolkit's default style and
// font, and no game code. Its start-up and memory against `barewindow` show what any
// window showing these controls pays before the game does anything of its own.
//
//   floorwindow [IDLE_MS]
//
// Prints one JSON line once the first frame is out (and, with IDLE_MS, after the
// window has then sat idle that long), then ends.

#include "idlewindow.h"
#include "layout.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace {

int pixels(int twips)
{
    return (twips + 7) / 15;
}

QWidget *plainControl(const layout::Control &design, QWidget *window)
{
    const QString text = QString::fromUtf8(design.text);
    switch (design.kind) {
    case layout::Kind::List: {
        auto *list = new QListWidget(window);
        for (const layout::Speed &speed : layout::kSpeeds)
            list->addItem(QString::fromUtf8(speed.listText));
        list->setCurrentRow(0);
        return list;
    }
    case layout::Kind::Label:
        return new QLabel(text, window);
    case layout::Kind::Button:
        return new QPushButton(text, window);
    case layout::Kind::Picture: {
        auto *frame = new QFrame(window);
        frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        return frame;
    }
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    return runIdleWindow("floorwindow", argc, argv, [](QWidget &window) {
        window.setWindowTitle(QString::fromUtf8(layout::kCaption));
        window.resize(pixels(layout::kClientWidth), pixels(layout::kClientHeight));
        for (const layout::Control &design : layout::kControls) {
            QWidget *control = plainControl(design, &window);
            control->setGeometry(pixels(design.left), pixels(design.top), pixels(design.width),
                                 pixels(design.height));
        }
    });
}
