// The 57 built-in pictures as the program carries them: icon file layout, and Qt decodes them.

#include "frmico.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QtEndian>
#include <QtTest>

namespace {

QByteArray pictureFile(int index)
{
    QFile file(QStringLiteral(":/pictures/p%1.ico").arg(index, 2, 10, QLatin1Char('0')));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint16 u16(const QByteArray &data, int at) { return qFromLittleEndian<quint16>(data.constData() + at); }
quint32 u32(const QByteArray &data, int at) { return qFromLittleEndian<quint32>(data.constData() + at); }
quint8 u8(const QByteArray &data, int at) { return quint8(data.at(at)); }

struct HeaderField
{
    int at;
    int bytes;
    quint32 value;
};

// Every fixed field before the pixels, with its offset and width in bytes.
constexpr HeaderField kHeaderFields[] = {
    // Icon header: reserved, type icon, one image.
    {0, 2, 0}, {2, 2, 1}, {4, 2, 1},
    // Directory entry.
    {6, 1, 48}, {7, 1, 48}, {8, 1, 0}, {9, 1, 0}, {10, 2, 0}, {12, 2, 0}, {14, 4, 3752}, {18, 4, 22},
    // Image header.
    {22, 4, 40}, {26, 4, 48}, {30, 4, 96}, {34, 2, 1}, {36, 2, 8}, {38, 4, 0}, {42, 4, 2688},
    {46, 4, 0}, {50, 4, 0}, {54, 4, 256}, {58, 4, 0},
};

} // namespace

class TestAssets : public QObject
{
    Q_OBJECT

private slots:
    void headerFields_data();
    void headerFields();
    void allPicturesDiffer();
};

void TestAssets::headerFields_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < 57; ++i)
        QTest::addRow("p%02d", i) << i;
}

void TestAssets::headerFields()
{
    QFETCH(int, index);
    const QByteArray data = pictureFile(index);
    QCOMPARE(data.size(), 3774);

    for (const HeaderField &field : kHeaderFields) {
        const quint32 value = field.bytes == 1 ? u8(data, field.at)
                              : field.bytes == 2 ? u16(data, field.at)
                                                 : u32(data, field.at);
        QVERIFY2(value == field.value, qPrintable(QStringLiteral("byte %1: %2, not %3")
                                                      .arg(field.at).arg(value).arg(field.value)));
    }
    // Mask rows: 6 bytes of bits, 2 bytes of padding.
    constexpr int maskAt = 22 + 40 + 1024 + 2304;
    int transparent = 0;
    for (int row = 0; row < 48; ++row) {
        for (int b = 0; b < 6; ++b)
            transparent += qPopulationCount(u8(data, maskAt + row * 8 + b));
        QCOMPARE(u16(data, maskAt + row * 8 + 6), 0);
    }
    QVERIFY2(transparent > 0 && transparent < 48 * 48, "every picture has a shape on a clear ground");

    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, "ico");
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(48, 48));
    QVERIFY(image.hasAlphaChannel());
    int clear = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            clear += qAlpha(image.pixel(x, y)) == 0;
    QCOMPARE(clear, transparent);
    QCOMPARE(builtInPicture(index).toImage().convertToFormat(QImage::Format_ARGB32),
             image.convertToFormat(QImage::Format_ARGB32));
}

void TestAssets::allPicturesDiffer()
{
    QSet<QByteArray> pixels;
    for (int i = 0; i < 57; ++i) {
        const QImage image = builtInPicture(i).toImage().convertToFormat(QImage::Format_ARGB32);
        pixels.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
    }
    QCOMPARE(pixels.size(), 57);
}

QTEST_MAIN(TestAssets)
#include "tst_assets.moc"
