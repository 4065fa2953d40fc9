#include "toolkit.h"

#include "accessibility.h"
#include "heldkeys.h"
#include "screenreaders.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QStyle>
#include <QStyleFactory>
#include <QStringList>

namespace {
const QString kClassicFace = QStringLiteral("MS Sans Serif");
// Free faces with the classic face's metrics, best first.
const QStringList kStandIns = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                               QStringLiteral("DejaVu Sans")};
// X11 sends a held key's repeat as a release and a press with one time stamp, and Qt
// now and then delivers the release before the press has arrived (1 to 3 ms apart,
// measured under Xvfb). A release waits this long for such a press before it counts.
constexpr int kX11RepeatPairGraceMs = 50;

// The classic face where the system has it, else the first stand-in it has. Asking for
// a family the system lacks would cost Qt a search of its fallbacks for every size.
QString classicFaceOrStandIn()
{
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(kClassicFace, Qt::CaseInsensitive))
        return kClassicFace;
    for (const QString &face : kStandIns) {
        if (installed.contains(face, Qt::CaseInsensitive))
            return face;
    }
    return kClassicFace;
}
}

QFont sansSerifFont(int pixelSize)
{
    QFont font(classicFaceOrStandIn());
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
    QFont::insertSubstitutions(kClassicFace, kStandIns);
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setPalette(app.style()->standardPalette());
    app.setFont(sansSerifFont(kDialogFontPixels));
    installAccessibility();
    bridgeToScreenReaders();
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        HeldKeys::of(app).setRepeatPairGrace(kX11RepeatPairGraceMs);
}
