#include "toolkit.h"

#include "accessibility.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace {
const QString kClassicFace = QStringLiteral("MS Sans Serif");
}

QFont sansSerifFont(int pixelSize)
{
    QFont font(kClassicFace);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

void setUpToolkit(QApplication &app)
{
    QFont::insertSubstitutions(kClassicFace, {QStringLiteral("Liberation Sans"),
                                              QStringLiteral("Arimo"),
                                              QStringLiteral("DejaVu Sans")});
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setPalette(app.style()->standardPalette());
    app.setFont(sansSerifFont(kDialogFontPixels));
    installAccessibility();
}
