// The window as it first appears: controls, texts, fonts, focus and load-time state.

#include "fakeservices.h"
#include "form1.h"
#include "geometry.h"
#include "picturebox.h"
#include "toolkit.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

#include <cstring>

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpToolkit(*qobject_cast<QApplication *>(QCoreApplication::instance())); }

    void controlsSitAtTheirDesignPlaces_data();
    void controlsSitAtTheirDesignPlaces();
    void windowHasCaptionAndClientSize();
    void initialTextsAndSelection();
    void labelColoursAndFonts();
    void everyControlStartsVisibleAndEnabled();
    void tabOrderAndInitialFocus();
    void loadSetsPiValueToSingleThreePointOneFour();
    void labelTextsFitTheirLabels_data();
    void labelTextsFitTheirLabels();
    void pictureBoxHoldsTheUnscaledPictureInsideItsFrame();
    void resizingMovesNoControl();
    void aTooWideWordIsCutNotWrapped_data();
    void aTooWideWordIsCutNotWrapped();
    void pictureShowsGalleryElementZeroOverTheButtonFace();
    void screenReadersHearRolesAndNames();
    void buttonCaptionsFitAtAnyDesktopFont_data();
    void buttonCaptionsFitAtAnyDesktopFont();
    void speedListShowsItHasTheFocus();
};

void TestLayout::controlsSitAtTheirDesignPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    // Left, top, width and height in twips, as the window was designed.
    QTest::newRow("lstSpeed") << "lstSpeed" << QRect(360, 240, 1575, 1140);
    QTest::newRow("Label1") << "Label1" << QRect(2160, 360, 1095, 495);
    QTest::newRow("lblTimer") << "lblTimer" << QRect(3240, 360, 495, 495);
    QTest::newRow("Lable2") << "Lable2" << QRect(2160, 960, 1095, 495);
    QTest::newRow("lblClicks") << "lblClicks" << QRect(3240, 960, 495, 495);
    QTest::newRow("cmdGo") << "cmdGo" << QRect(3840, 840, 1335, 615);
    QTest::newRow("cmdIco") << "cmdIco" << QRect(5280, 840, 1455, 615);
    QTest::newRow("cmdQuit") << "cmdQuit" << QRect(6840, 840, 615, 375);
    QTest::newRow("lblFeedback") << "lblFeedback" << QRect(240, 1800, 2295, 1695);
    QTest::newRow("picIco") << "picIco" << QRect(3480, 2520, 780, 780);
}

void TestLayout::controlsSitAtTheirDesignPlaces()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    FakeServices fakes;
    Form1 form(fakes.services());
    auto *control = form.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &form);
    WidgetGeometry geometry(*control);
    QCOMPARE(geometry.left(), float(twips.left()));
    QCOMPARE(geometry.top(), float(twips.top()));
    QCOMPARE(geometry.width(), float(twips.width()));
    QCOMPARE(geometry.height(), float(twips.height()));
}

void TestLayout::windowHasCaptionAndClientSize()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    QCOMPARE(form.windowTitle(), QStringLiteral("Brinhalt's Quorvel"));
    QCOMPARE(form.size(), QSize(711, 501));
    QVERIFY(!(form.windowFlags() & Qt::MSWindowsFixedSizeDialogHint));
    QCOMPARE(form.minimumSize(), QSize(0, 0));
    QVERIFY(form.maximumWidth() > 711 && form.maximumHeight() > 501);
    QCOMPARE(form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(), 10);
}

void TestLayout::initialTextsAndSelection()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.findChild<QLabel *>("Label1")->text(), QStringLiteral("Timer:"));
    QCOMPARE(form.findChild<QLabel *>("lblTimer")->text(), QStringLiteral(" 0"));
    QCOMPARE(form.findChild<QLabel *>("Lable2")->text(), QStringLiteral("Clicks:"));
    QCOMPARE(form.findChild<QLabel *>("lblClicks")->text(), QStringLiteral(" 0"));
    QCOMPARE(form.findChild<QLabel *>("lblFeedback")->text(), QStringLiteral(" "));
    QCOMPARE(form.findChild<QPushButton *>("cmdGo")->text(), QStringLiteral("GO!"));
    QCOMPARE(form.findChild<QPushButton *>("cmdIco")->text(), QStringLiteral("Change Icon"));
    QCOMPARE(form.findChild<QPushButton *>("cmdQuit")->text(), QStringLiteral("QUIT"));

    auto *list = form.findChild<QListWidget *>("lstSpeed");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QStringLiteral("EASY"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("MEDIUM"));
    QCOMPARE(list->item(2)->text(), QStringLiteral("INSANITY"));
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!list->isSortingEnabled());
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(list->item(row)->data(Qt::UserRole).toInt(), 0);
        // All three items show at once, none cut off at the bottom.
        const QRect item = list->visualItemRect(list->item(row));
        QVERIFY2(list->viewport()->rect().contains(item), qPrintable(QStringLiteral("%1: %2 in %3")
                 .arg(row).arg(item.bottom()).arg(list->viewport()->height())));
    }
    QCOMPARE(list->selectedItems().size(), 1);
    QCOMPARE(list->selectedItems().first()->text(), QStringLiteral("EASY"));

    for (auto *button : form.findChildren<QPushButton *>()) {
        QVERIFY2(!button->isDefault() && !button->autoDefault(), qPrintable(button->objectName()));
    }
}

void TestLayout::labelColoursAndFonts()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    const struct { const char *name; QColor colour; } labels[] = {
        {"Label1", QColor(0, 192, 0)},   {"lblTimer", QColor(0, 192, 0)},
        {"Lable2", QColor(128, 0, 128)}, {"lblClicks", QColor(128, 0, 128)},
        {"lblFeedback", QColor(0, 0, 255)},
    };
    for (const auto &expected : labels) {
        auto *label = form.findChild<QLabel *>(expected.name);
        QCOMPARE(label->palette().color(QPalette::WindowText), expected.colour);
        QCOMPARE(label->font().pixelSize(), 24);
        QCOMPARE(label->font().weight(), QFont::Normal);
        QVERIFY(!label->font().italic() && !label->font().underline() && !label->font().strikeOut());
        QVERIFY(label->alignment() & Qt::AlignLeft);
        QVERIFY(label->autoFillBackground());
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        QCOMPARE(QFontInfo(label->font()).family(), drawnFamily());
    }
    auto *list = form.findChild<QListWidget *>("lstSpeed");
    QCOMPARE(list->font().pixelSize(), 18);
    QCOMPARE(QFontInfo(list->font()).family(), drawnFamily());
}

void TestLayout::everyControlStartsVisibleAndEnabled()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (auto *control : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        QVERIFY2(control->isVisible(), qPrintable(control->objectName()));
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    }
}

void TestLayout::tabOrderAndInitialFocus()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("picIco"));

    const QStringList expected{"cmdIco", "lstSpeed", "cmdGo", "cmdQuit", "picIco"};
    for (const QString &name : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), name);
    }
}

void TestLayout::loadSetsPiValueToSingleThreePointOneFour()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    const float pi = form.state().piValue;
    QCOMPARE(double(pi), 3.1400001049041748046875);
    QVERIFY(double(pi) != 3.14159265358979);
    // Nothing else of the form state is set by loading.
    QCOMPARE(form.state().speedLevel, qint16(0));
    QCOMPARE(form.state().clickCount, qint16(0));
    QCOMPARE(form.state().turnPositive, qint16(0));
    QCOMPARE(form.state().stepLength, qint16(0));
    QVERIFY(!form.state().roundStart.has_value());
}

void TestLayout::labelTextsFitTheirLabels_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::newRow("Timer:") << "Label1" << "Timer:";
    QTest::newRow("Clicks:") << "Lable2" << "Clicks:";
    const char *messages[] = {
        "Simply Amazing", "Wow, pretty good", "You're getting better",
        "Maybe you should let somebody else play...", "This game is best played while awake",
        "Try playing with your hand this time", "don't feel bad, this is impossible",
        "wow, even i'm scared of that score", "are you a superhuman android?",
    };
    for (const char *message : messages)
        QTest::newRow(message) << "lblFeedback" << message;
}

void TestLayout::labelTextsFitTheirLabels()
{
    QFETCH(QString, label);
    QFETCH(QString, text);
    FakeServices fakes;
    Form1 form(fakes.services());
    auto *widget = form.findChild<QLabel *>(label);
    const QRect inside = widget->contentsRect();
    const QFontMetrics metrics(widget->font());
    const QRect needed = metrics.boundingRect(inside, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    QVERIFY2(needed.width() <= inside.width(), qPrintable(QString::number(needed.width())));
    QVERIFY2(needed.height() <= inside.height(), qPrintable(QString::number(needed.height())));
    // Every word fits on a line of its own: nothing is cut at the side.
    for (const QString &word : text.split(' '))
        QVERIFY2(metrics.horizontalAdvance(word) <= inside.width(), qPrintable(word));
}

void TestLayout::pictureBoxHoldsTheUnscaledPictureInsideItsFrame()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    auto *picture = form.findChild<PictureBox *>("picIco");
    QCOMPARE(picture->contentsRect(), QRect(2, 2, 48, 48));
    QCOMPARE(picture->picture().size(), QSize(48, 48));
    QCOMPARE(picture->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    QVERIFY(!picture->accessibleName().isEmpty());
}

void TestLayout::resizingMovesNoControl()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    auto *picture = form.findChild<QWidget *>("picIco");
    const QRect before = picture->geometry();
    WindowFrameGeometry window(form);
    const float widthBefore = window.width();
    form.resize(900, 650);
    QCOMPARE(picture->geometry(), before);
    QCOMPARE(window.width() - widthBefore, float((900 - 711) * 15));
}

void TestLayout::screenReadersHearRolesAndNames()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    const struct { QObject *object; QAccessible::Role role; QString name; } expected[] = {
        {&form, QAccessible::Window, "Brinhalt's Quorvel"},
        {form.findChild<QWidget *>("picIco"), QAccessible::Graphic, "Wandering picture"},
        {form.findChild<QWidget *>("lstSpeed"), QAccessible::List, "Speed"},
        {form.findChild<QWidget *>("cmdGo"), QAccessible::Button, "GO!"},
        {form.findChild<QWidget *>("lblClicks"), QAccessible::StaticText, " 0"},
    };
    for (const auto &e : expected) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(e.object);
        QVERIFY(iface);
        QCOMPARE(iface->role(), e.role);
        QCOMPARE(iface->text(QAccessible::Name), e.name);
    }
}

void TestLayout::aTooWideWordIsCutNotWrapped_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<bool>("wraps");
    for (const qreal scale : {1.0, 1.5, 2.0}) {
        const QByteArray at = " at " + QByteArray::number(scale);
        QTest::newRow("timer 10.1" + at) << "lblTimer" << "10.1" << scale << false;
        QTest::newRow("timer 9.987654" + at) << "lblTimer" << "9.987654" << scale << false;
        QTest::newRow("clicks 100" + at) << "lblClicks" << "100" << scale << false;
        QTest::newRow("a rating" + at) << "lblFeedback"
            << "Maybe you should let somebody else play..." << scale << true;
    }
}

// A word wider than its label must not spill its end onto a second line, whose top
// would show as a sliver under the first.
void TestLayout::aTooWideWordIsCutNotWrapped()
{
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(qreal, scale);
    QFETCH(bool, wraps);
    FakeServices fakes;
    Form1 form(fakes.services());
    auto *widget = form.findChild<QLabel *>(label);
    // A round leaves each label as the game last set it: a time, a count, and for 0
    // clicks on EASY a rating of several words. Then the same kind of text, wider.
    form.cmdGo_Click();
    QCOMPARE(widget->text().contains(' '), wraps);
    widget->setText(text);
    QImage image(widget->size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    widget->render(&image);

    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    const int firstLine = qCeil(QFontMetricsF(widget->font()).height() * scale);
    int inkedRowsBelow = 0;
    for (int y = firstLine; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background) {
                ++inkedRowsBelow;
                break;
            }
        }
    }
    QCOMPARE(inkedRowsBelow > 0, wraps);
}

// The starting picture is gallery element 0, drawn unscaled inside the frame, with the
// button face showing through its transparent pixels.
void TestLayout::pictureShowsGalleryElementZeroOverTheButtonFace()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    auto *picture = form.findChild<PictureBox *>("picIco");
    const QImage shown = picture->grab().toImage().convertToFormat(QImage::Format_RGB32);

    const QImage icon(QStringLiteral(":/pictures/p00.png"));
    QCOMPARE(icon.size(), QSize(48, 48));
    QImage expected(48, 48, QImage::Format_RGB32);
    expected.fill(QApplication::palette().color(QPalette::Button));
    QPainter(&expected).drawImage(0, 0, icon);
    int transparent = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            transparent += qAlpha(icon.pixel(x, y)) == 0;
    QVERIFY(transparent > 0);
    QCOMPARE(shown.copy(2, 2, 48, 48), expected);
}

void TestLayout::buttonCaptionsFitAtAnyDesktopFont_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<qreal>("scale");
    for (int points = 9; points <= 14; ++points) {
        for (const qreal scale : {1.0, 1.5, 2.0})
            QTest::addRow("desktop font %d pt at scale %g", points, scale) << points << scale;
    }
}

namespace {

// The rectangle, in the button's own pixels, that the caption's ink covers when drawn
// at `scale` device pixels to a pixel.
QRectF inkOf(const QString &text, const QFont &font, qreal scale)
{
    const QSize logical(400, 100);
    QImage image(logical * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(QPoint(0, 0), logical), Qt::AlignCenter, text);
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return QRectF(ink.x() / scale, ink.y() / scale, ink.width() / scale, ink.height() / scale);
}

} // namespace

// Desktops with a large UI font (KDE, qt6ct, large-text settings) cut "Change Icon" at both
// ends and squeeze "QUIT" against its frame; the labels and the list keep their own fonts.
void TestLayout::buttonCaptionsFitAtAnyDesktopFont()
{
    QFETCH(int, points);
    QFETCH(qreal, scale);
    const QFont gameFont = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(gameFont); });
    FakeServices fakes;
    Form1 form(fakes.services());
    // A desktop theme sets its font once the window exists, as qt6ct does; the change
    // reaches the widgets through posted events.
    QGuiApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), points));
    QCoreApplication::sendPostedEvents();
    const QFontInfo desktop(QApplication::font());

    QStringList chosen;
    for (const char *name : {"cmdGo", "cmdIco", "cmdQuit"}) {
        auto *button = form.findChild<QPushButton *>(name);
        const QFontInfo shown(button->font());
        chosen << QStringLiteral("%1 %2 px").arg(button->text()).arg(shown.pixelSize());
        QCOMPARE(shown.family(), desktop.family());
        QVERIFY(shown.pixelSize() <= desktop.pixelSize());
        // The ink stays inside the frame (2 pixels of the style), a pixel clear of it.
        const QRectF ink = inkOf(button->text(), button->font(), scale);
        QVERIFY2(ink.width() <= button->width() - 6 && ink.height() <= button->height() - 4,
                 qPrintable(QStringLiteral("%1: ink %2 x %3 in %4 x %5").arg(name)
                            .arg(ink.width()).arg(ink.height())
                            .arg(button->width()).arg(button->height())));
    }
    qInfo("desktop %d px: %s", desktop.pixelSize(), qPrintable(chosen.join(", ")));
    // Where the caption fits it keeps the desktop's size: "GO!" always does.
    QCOMPARE(QFontInfo(form.findChild<QPushButton *>("cmdGo")->font()).pixelSize(),
             desktop.pixelSize());
    QCOMPARE(form.findChild<QLabel *>("Label1")->font().pixelSize(), 24);
    QCOMPARE(form.findChild<QListWidget *>("lstSpeed")->font().pixelSize(), 18);

    // Back to a small desktop font, every caption fits again at the desktop's size.
    QGuiApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QCoreApplication::sendPostedEvents();
    for (auto *button : form.findChildren<QPushButton *>())
        QCOMPARE(QFontInfo(button->font()).pixelSize(), QFontInfo(QApplication::font()).pixelSize());
}

// A keyboard player must see where the arrow keys will go: the selected item alone looks
// the same with and without the focus, so the list's edge shows it.
void TestLayout::speedListShowsItHasTheFocus()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto *list = form.findChild<QListWidget *>("lstSpeed");
    const QColor highlight = list->palette().color(QPalette::Highlight);
    const QSet<QRgb> ring{highlight.rgb(), highlight.darker(125).rgb()};
    const auto edgeIsRinged = [&] {
        const QImage shown = list->grab().toImage();
        const int middle = shown.height() / 2;
        return ring.contains(shown.pixel(0, middle)) && ring.contains(shown.pixel(1, middle))
            && ring.contains(shown.pixel(shown.width() - 1, middle));
    };
    QVERIFY(!edgeIsRinged());
    for (int tabs = 0; tabs < 2; ++tabs) // from the picture, past Change Icon
        QTest::keyClick(form.windowHandle(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), list);
    QVERIFY(edgeIsRinged());
    QTest::keyClick(form.windowHandle(), Qt::Key_Tab);
    QVERIFY(!edgeIsRinged());
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
