#include "toolkit.h"

#include "accessibility.h"
#include "heldkeys.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QStyle>
#include <QStyleFactory>

namespace {
const QString kClassicFace = QStringLiteral("MS Sans Serif");
// X11 sends a held key's repeat as a release and a press with one time stamp, and Qt
// now and then delivers the release before the press has arrived (1 to 3 ms apart,
// measured under Xvfb). A release waits this long for such a press before it counts.
constexpr int kX11RepeatPairGraceMs = 50;
}

QFont sansSerifFont(int pixelSize)
{
    QFont font(kClassicFace);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

QString drawnFamily()
{
#ifdef Q_OS_WIN
    return kClassicFace;
#else
    return QStringLiteral("Liberation Sans");
#endif
}

void setUpToolkit(QApplication &app)
{
    // Faces that come with the program: the browser build carries the one it draws
    // with, since a page has no system fonts. A desktop build carries none.
    const QDir carried(QStringLiteral(":/quorvel/fonts"));
    for (const QString &file : carried.entryList(QDir::Files))
        QFontDatabase::addApplicationFont(carried.filePath(file));

    // Windows has the classic face itself. Where it is missing (every other system,
    // and Wine without its own fonts) a free face with its metrics stands in for it,
    // rather than whichever family the system happens to list first.
    QFont::insertSubstitutions(kClassicFace, {QStringLiteral("Liberation Sans"),
                                              QStringLiteral("Arimo"),
                                              QStringLiteral("DejaVu Sans")});
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setPalette(app.style()->standardPalette());
    app.setFont(sansSerifFont(kDialogFontPixels));
    installAccessibility();
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        HeldKeys::of(app).setRepeatPairGrace(kX11RepeatPairGraceMs);
}
