#include "shell/types/errors.h"
#include "filebytes.h"
#include "optionaltext.h"
#include "rates/rules/ratefile.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace varnek;

// Found by argument-dependent lookup, as the one for texts.
char *toString(const std::optional<QByteArray> &bytes)
{
    return bytes ? QTest::toString(*bytes) : qstrdup("(nothing)");
}

class TestRateFile : public QObject {
    Q_OBJECT

private slots:
    void fileBytes_data();
    void fileBytes();
    void codePage_data();
    void codePage();
    void codePageAgreesWithSystemCodec();
    void everyByteRoundTrips();
    void unstorable_data();
    void unstorable();
    void decode_data();
    void decode();
    void savedTextsReadBack();
    void randomBytes();
};

void TestRateFile::fileBytes_data() { addFileBytesRows(); }

// The exact bytes other programs expect, and that they read back to the same text.
void TestRateFile::fileBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeRateFile(text), bytes);
    QCOMPARE(decodeRateFile(bytes), std::optional(text));
}

void TestRateFile::codePage_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("codePoint");

    const struct {
        const char *name;
        int byte;
        int codePoint;
    } rows[] = {
        {"ascii A", 0x41, 'A'},
        {"NUL", 0x00, 0x0000},
        {"euro 80", 0x80, 0x20AC},
        {"low quote 82", 0x82, 0x201A},
        {"S caron 8A", 0x8A, 0x0160},
        {"en dash 96", 0x96, 0x2013},
        {"Y diaeresis 9F", 0x9F, 0x0178},
        {"undefined 81", 0x81, 0x0081},
        {"undefined 8D", 0x8D, 0x008D},
        {"undefined 8E", 0x8E, 0x008E},
        {"undefined 8F", 0x8F, 0x008F},
        {"undefined 90", 0x90, 0x0090},
        {"undefined 9D", 0x9D, 0x009D},
        {"undefined 9E", 0x9E, 0x009E},
        {"no-break space A0", 0xA0, 0x00A0},
        {"G breve D0", 0xD0, 0x011E},
        {"dotted I DD", 0xDD, 0x0130},
        {"S cedilla DE", 0xDE, 0x015E},
        {"sharp s DF", 0xDF, 0x00DF},
        {"g breve F0", 0xF0, 0x011F},
        {"dotless i FD", 0xFD, 0x0131},
        {"s cedilla FE", 0xFE, 0x015F},
        {"y diaeresis FF", 0xFF, 0x00FF},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.byte << row.codePoint;
}

void TestRateFile::codePage()
{
    QFETCH(int, byte);
    QFETCH(int, codePoint);
    const QByteArray bytes(1, char(byte));
    const QString text{QChar(char16_t(codePoint))};
    QCOMPARE(fromWindows1254(bytes), text);
    QCOMPARE(toWindows1254(text), std::optional(bytes));
}

// An independent check of the whole table, where this Qt build has a named codec to compare with.
void TestRateFile::codePageAgreesWithSystemCodec()
{
    QStringDecoder system("windows-1254");
    if (!system.isValid())
        QSKIP("This Qt build has no windows-1254 codec to compare with");
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const QByteArray bytes(1, char(byte));
        const QString expected = system.decode(bytes);
        if (expected == QChar(QChar::ReplacementCharacter))
            continue; // an undefined byte this codec does not map
        QVERIFY2(fromWindows1254(bytes) == expected, qPrintable(u"byte %1"_s.arg(byte, 2, 16)));
    }
}

void TestRateFile::everyByteRoundTrips()
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));
    const QString text = fromWindows1254(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(toWindows1254(text), std::optional(all));
    QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
}

void TestRateFile::unstorable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("bad");
    QTest::addColumn<QString>("shown");

    QTest::newRow("lira sign") << u"650₺"_s << 0x20BAu << u"\"₺\" (U+20BA)"_s;
    QTest::newRow("emoji, surrogate pair") << u"1😀2"_s << 0x1F600u << u"\"😀\" (U+1F600)"_s;
    QTest::newRow("first of two") << u"Ð₺"_s << 0xD0u << u"\"Ð\" (U+00D0)"_s;
    QTest::newRow("C1 control 80 (byte 80 is the euro)") << u"\u0080"_s << 0x80u << u"U+0080"_s;
    QTest::newRow("lone high surrogate") << QString(QChar(char16_t(0xD83D))) << 0xD83Du << u"U+D83D"_s;
    QTest::newRow("low surrogate first") << QString(QChar(char16_t(0xDE00))) + u'x' << 0xDE00u << u"U+DE00"_s;
}

// A character without a byte would be saved altered; the save must refuse and say which.
void TestRateFile::unstorable()
{
    QFETCH(QString, text);
    QFETCH(uint, bad);
    QFETCH(QString, shown);

    char32_t found = 0;
    QVERIFY(!toWindows1254(text, &found));
    QCOMPARE(uint(found), bad);
    QVERIFY(!toWindows1254(text));
    try {
        encodeRateFile(text);
        QFAIL("no error");
    } catch (const RuntimeError &e) {
        QCOMPARE(e.kind(), ErrorKind::FileAccess);
        QVERIFY2(e.detail().startsWith(shown), qPrintable(e.detail()));
    }
}

void TestRateFile::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<OptionalText>("text");

    const auto row = [](const char *name, QByteArray bytes, OptionalText text) {
        QTest::newRow(name) << bytes << text;
    };
    row("zero bytes", {}, std::nullopt);
    row("saved file", "\"650000\"\r\n", u"650000"_s);
    row("no line end", "\"7\"", u"7"_s);
    row("empty quoted", "\"\"\r\n", u""_s);
    row("empty quoted, no line end", "\"\"", u""_s);
    row("quoted comma", "\"1,5\"\r\n", u"1,5"_s);
    row("several fields", "\"a\",\"b\",\"c\"\r\n", u"c"_s);
    row("several lines", "\"a\"\r\n\"b\"\r\n\"c\"\r\n", u"c"_s);
    row("unquoted comma", "1,5", u"5"_s);
    row("unquoted comma and line end", "1,5\r\n", u"5"_s);
    row("unquoted then quoted", "1,\"2,5\"\r\n", u"2,5"_s);
    row("empty line last", "\"a\"\r\n\r\n", u""_s);
    row("empty line between", "\"a\"\r\n\r\n\"b\"\r\n", u"b"_s);
    row("only a line end", "\r\n", u""_s);
    row("only a comma", ",", u""_s);
    row("two commas at end", "a,,", u""_s);
    row("trailing comma adds no field", "a,", u"a"_s);
    row("lone LF", "\"a\"\n\"b\"\n", u"b"_s);
    row("lone CR", "a\rb\r", u"b"_s);
    row("LF CR is two line ends", "a\n\r", u""_s);
    row("blanks kept", " 1 , 2 \r\n", u" 2 "_s);
    row("blank before quote: unquoted", "x, \"a\"\r\n", u" \"a\""_s);
    row("quote inside", "\"a\"b\"\r\n", u"a\"b"_s);
    row("quotes only", "\"\"\"\"\r\n", u"\"\""_s);
    row("quote then blank is text", "\"a\" ,\"b\"\r\n", u"a\" ,\"b"_s);
    row("quote before comma ends field", "\"a\",b\"\r\n", u"b\""_s);
    row("line end inside quotes", "\"a\r\nb\"\r\n", u"a\r\nb"_s);
    row("quote inside unquoted", "ab\"c\r\n", u"ab\"c"_s);
    row("cut off quoted", "\"65", u"65"_s);
    row("cut off quoted with comma", "\"1,5", u"1,5"_s);
    row("cut off quoted over lines", "\"a\r\nb", u"a\r\nb"_s);
    row("lone quote", "\"", u""_s);
    row("last field cut off", "\"a\"\r\n\"b", u"b"_s);
    row("NUL inside", QByteArray("\"1\0002\"\r\n", 7), QString(u"1\u00002"_s));
    row("upper bytes", "\"\xfe\xfd\x80\x9f\"", u"şı€Ÿ"_s);
}

void TestRateFile::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(OptionalText, text);
    QCOMPARE(decodeRateFile(bytes), text);
}

// Whatever the save writes reads back as the text saved; the only texts it refuses hold a quote
// right before a comma or a line end, which the unescaped format cannot hold.
void TestRateFile::savedTextsReadBack()
{
    const QString alphabet = u"a1,. \"\r\nçİş€\u0000\u009d"_s;
    static const QRegularExpression unstorable(u"\"[,\r\n]"_s);
    QRandomGenerator random(1254);
    int saved = 0;
    int refused = 0;
    for (int i = 0; i < 20000; ++i) {
        QString text;
        const int length = random.bounded(8);
        for (int k = 0; k < length; ++k)
            text += alphabet[random.bounded(int(alphabet.size()))];
        const QString shown = QString::fromLatin1(text.toUtf8().toHex(' '));
        try {
            const auto back = decodeRateFile(encodeRateFile(text));
            QVERIFY2(back == text, qPrintable(u"text %1"_s.arg(shown)));
            QVERIFY2(!text.contains(unstorable), qPrintable(u"saved %1"_s.arg(shown)));
            ++saved;
        } catch (const RuntimeError &error) {
            QCOMPARE(error.kind(), ErrorKind::FileAccess);
            QVERIFY2(text.contains(unstorable), qPrintable(u"refused %1"_s.arg(shown)));
            ++refused;
        }
    }
    QVERIFY(saved > 5000);
    QVERIFY2(refused > 500, qPrintable(QString::number(refused)));
}

void TestRateFile::randomBytes()
{
    // Mostly the bytes that steer the reader, so that short files hit its corners.
    const QByteArray alphabet("\",\r\n\r\"a\x00\xfe", 9);
    QRandomGenerator random(1254);
    for (int i = 0; i < 20000; ++i) {
        QByteArray bytes;
        const int length = random.bounded(12);
        for (int k = 0; k < length; ++k)
            bytes += i % 2 ? alphabet[random.bounded(int(alphabet.size()))] : char(random.bounded(256));
        const auto text = decodeRateFile(bytes);
        QCOMPARE(text.has_value(), !bytes.isEmpty());
        if (text)
            QVERIFY(text->size() <= bytes.size());
    }
}

QTEST_GUILESS_MAIN(TestRateFile)
#include "tst_ratefile.moc"
