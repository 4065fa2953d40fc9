// The 57 built-in pictures as the program carries them: PNG file layout, and Qt decodes them
// to the very pixels the earlier icon files gave.

#include "frmico.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QtEndian>
#include <QtTest>

namespace {

QByteArray pictureFile(int index)
{
    QFile file(QStringLiteral(":/pictures/p%1.png").arg(index, 2, 10, QLatin1Char('0')));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 u32(const QByteArray &data, int at) { return qFromBigEndian<quint32>(data.constData() + at); }
quint8 u8(const QByteArray &data, int at) { return quint8(data.at(at)); }

struct HeaderField
{
    int at;
    int bytes;
    quint32 value;
};

// Every fixed field before the pixels, with its offset and width in bytes.
constexpr HeaderField kHeaderFields[] = {
    // PNG signature.
    {0, 4, 0x89504e47}, {4, 4, 0x0d0a1a0a},
    // Image header: 48 x 48, 4 bits of palette index a pixel, not interlaced.
    {8, 4, 13}, {12, 4, 0x49484452}, {16, 4, 48}, {20, 4, 48},
    {24, 1, 4}, {25, 1, 3}, {26, 1, 0}, {27, 1, 0}, {28, 1, 0},
    // A palette of 16 colours.
    {33, 4, 48}, {37, 4, 0x504c5445},
    // Transparency: colour 0 clear, every other colour opaque.
    {93, 4, 1}, {97, 4, 0x74524e53}, {101, 1, 0},
};

// The test's own copy: SHA-256 of each picture's ARGB32 rows as Qt decoded its former .ico file.
constexpr const char *kPixelHashes[] = {
    "4223248783465bdfb01682b4dbb2783d1372eb8a67198d9e955280b356a84dfe",
    "6808423424a38a4148f2f7e7129a02458bc5b782cf70f0972a7472fbc9ce1263",
    "210e832c1fc30801dd9f06c13b82ba51ffa61422dc8e7eefe579b63ffaf820e3",
    "4f8bef651e84dac99cb4f976836765a6c18fa4e21fcd64c07e65591a4887b5ae",
    "b52c8421cbfcb789e0d5f838ce6a480a8f88ceaed1b6e4abd69e1da389a75d32",
    "88ac99066a47da4f997256ce3efc744ca496d839cd5feee7d07ad6c36d533453",
    "7a4aacf21ab2e9ecaf96e0c03d22ae724e0092647be28130eeb7a8895a46dd81",
    "73b4e3e8bbc84f781b750dc67c331a6e9f3fc92abaaf905da8c9c67f925c7aa2",
    "a22a9cfeb1cddd118bca56b6e67d07304d7ebc8213c15b793914ab6da3ca09a9",
    "bb56dea45fbc8110504ebe795d0e6f5c2a9a5b24c1914c564e750bf7905afdcc",
    "e69f33026cf0cf20a6775c5521aeca8508983d209154ab95d13231e81080dc0e",
    "bd9b98d1ef8c86993892ea9189cd021d8f42e759e0075c18a64c359ec6079df2",
    "0cf8436b57bcc5a9e64f019f9fe34f45f19ea8b418021a50a65246ce13289bb5",
    "144300c2417324d08e5fe04db5fb0cf0b0a06af5aedce6c59900dcfdb5c6357c",
    "592e917437284f4e6a779c65e41959352c8ec1f2cd1f7eab8b70b9f0c3f44153",
    "7a1934f613c5321b7342739a5e604b0a56842c64def25480a69858b4b90cbac6",
    "a225ec0b4c595895e363b989515ae2f01d94e7f3e5ca4abbb4d881405a53385c",
    "9c8b5457efb60670a651319bc0849a5db0eb1a26fc0cf17c7bbc7fb6a826d0a4",
    "d488d86f2c4813b274b6347f4509cf5a88afd7ba26a010b7e0bda641644da25d",
    "dbc7f68a09d367c6f6e1f46f67e15f88d976bf78311c8083cb43906aeb05507e",
    "0bcc034302de219024cefe40b2c78968aa339531e7316b9ace697e4ec3ee3296",
    "50aa582bb9b3d7f264b85c33a5290139ce05cf9010a2c2d07804dfd4ffa92cde",
    "2d6f31484976b81a8b9bb705ae79d6474cfe1af6560f4f26be25d89c7e770b5a",
    "6c9a8380780fc8aa0ec49489e648fbe4d2528061bb53d277daca766053fc1dae",
    "cfbdeb6c94ddba91b6b6accedca3f05c021c870b17b3183d22b2c0e03616577c",
    "c830395a69a5ab325bff25cfad073c3c799e1d5857b9a43ade80f1d250981bde",
    "5441ff228c9e63c4aa2c8ecd19fce79434dea126a0febce9e44a80e536db301a",
    "c9621b896bb86118f32ae64ba6ba6822b6c67b794bec0e449b583bdb11ff192b",
    "8926574fa53fbcb577195b00adfa69401f4371ba037cb44b236f3f8afb01d913",
    "ee2e79ba6f1eca76ba8e4d7dd1a58d2e1a089b56d45cc2564707724bc28a4af4",
    "7ca6d14aacf124488dc3965efcd5f8197bb8a671ec1d666ed3bb5aafbe205906",
    "eadf20db8773189e269e364aa0fe5742e449c021bba177f0566ea11fad01f852",
    "6b0829475d1245df9132f272672d498cff0a2e84c3b33eb01e53343aa7e28395",
    "25c445afea96acd5d4733ae10fd6f4b81efa4fcf4d7e86e74a0bbb96ffc5d0ca",
    "da9e875b2c78f06c3ab565bd43480ad6d725d6135a0c01d3549bfc974e6ed637",
    "c131e7eea334e736d67c97cabae305505fb0b6158431d3003adb282d3a8e97c8",
    "759484ecae3e34b65ec67da46193d1a45a5f339bbd27f7a551fc5a8a52d71ae8",
    "a52f1ac4aaa025a2cd9dd8f3808707860de27c41d37a2a45beef00287f15d179",
    "c3c906a35413ca645a22c65e9b5b1c3102607560d4fb11dce66040ba46873220",
    "75dce8c361c0b66188321ca2bfda3e3357fbf2464c0f509a0333e7e88416e884",
    "c69dec9daca6269afa0537dfa5233f6ac11cc4c6ef34e27478429906024c48e2",
    "7ba7dfd393d7179950a491258ad085bae0a890822266d8a96672677e10ba5f7d",
    "31f0173ef966e50067ceed6865392dcc3500a44f4f7e1ca7a9b36a2fd23ea19b",
    "fa47b905e52556e3b9053a9180f15f6f44d86b538beaad6ae24bd02405888774",
    "589620448e388589475ed27ef84da134e0aff8669cfee4adaf744a612dc7ac0c",
    "b2d2e60751f3a83c9c67a728eff605f32c8f22a96ec7de79dccfda6367e5720c",
    "71345a4fa093080868b11f0aa7180295786b884b21f644fca4e665fa4e651186",
    "2e4db0a988b700a5aaacda1cca10c01da39c02fe59ab4c5abd51253e656f585e",
    "5a6d3dbc8a56d93e2c0dfde2b3da95afe1d6df948043235299579b5f179df323",
    "55bb1387be8aeea6285f0e4c88378e419c724c3b0947b5efaee43c1bfde47eae",
    "1b99b8ea83b185c3ee7c13475cede88d1773822fa1c930afc54ec17d459456aa",
    "8db706bf97e5cf11bfbc414cb7e69e9053b56eca7d3439e9b952ab185e2c421d",
    "d2b20f9d27ff6294f26215544d9cc0d62b1d1fd2f96caef2d54b2cfbfd01dae9",
    "baee2e3349bb834cf8368bf4bec24e6606f4549dd52568ecea57c9f0e40f9d3e",
    "813ae3688617bc29312877df0132b4a796d5fd57432c6f39b7061cfe38dcf0c6",
    "bac3cd5c7010db06a2c0e7435ac8303249d590a6e72a2828b0f8261053fc31c5",
    "532ef11315920a1dc52abaee97c61ac9064cb17014f76c090fd2f85d9f0c8d50",
};

QByteArray pixelHash(const QImage &image)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int y = 0; y < image.height(); ++y)
        hash.addData(QByteArrayView(image.constScanLine(y), image.width() * 4));
    return hash.result().toHex();
}

} // namespace

class TestAssets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void headerFields_data();
    void headerFields();
    void allPicturesDiffer();
};

// Guards start-up: with no plugin folder left to search, every picture still decodes.
void TestAssets::initTestCase()
{
    QCoreApplication::setLibraryPaths({});
}

void TestAssets::headerFields_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("hash");
    static_assert(std::size(kPixelHashes) == 57);
    for (int i = 0; i < 57; ++i)
        QTest::addRow("p%02d", i) << i << QByteArray(kPixelHashes[i]);
}

void TestAssets::headerFields()
{
    QFETCH(int, index);
    QFETCH(QByteArray, hash);
    const QByteArray data = pictureFile(index);
    QVERIFY(data.size() > 102);

    for (const HeaderField &field : kHeaderFields) {
        const quint32 value = field.bytes == 1 ? u8(data, field.at) : u32(data, field.at);
        QVERIFY2(value == field.value, qPrintable(QStringLiteral("byte %1: %2, not %3")
                                                      .arg(field.at).arg(value).arg(field.value)));
    }

    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, "png");
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(48, 48));
    QVERIFY(image.hasAlphaChannel());
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int clear = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const int alpha = qAlpha(argb.pixel(x, y));
            QVERIFY2(alpha == 0 || alpha == 255, "each pixel is opaque or clear");
            clear += alpha == 0;
        }
    }
    QVERIFY2(clear > 0 && clear < 48 * 48, "every picture has a shape on a clear ground");
    QCOMPARE(pixelHash(argb), hash);
    QCOMPARE(builtInPicture(index).toImage().convertToFormat(QImage::Format_ARGB32), argb);
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
