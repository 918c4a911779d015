#pragma once

#include <QByteArray>
#include <QString>
#include <QTest>

// Texts as a box holds them and the exact bytes of the rate file that keeps each, as other
// programs expect them: the one table for the file's codec and for the store that writes it.
inline void addFileBytesRows()
{
    using namespace Qt::StringLiterals;
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty box") << QString() << QByteArray::fromHex("22220d0a");
    QTest::newRow("digits") << u"650000"_s << QByteArray::fromHex("22363530303030220d0a");
    QTest::newRow("decimal comma") << u"1,25"_s << QByteArray::fromHex("22312c3235220d0a");
    QTest::newRow("thousands point and blank") << u"1.250 TL"_s << QByteArray("\"1.250 TL\"\r\n");
    QTest::newRow("turkish letters") << u"çğıİöşüÇĞÖŞÜ"_s << QByteArray::fromHex("22e7f0fdddf6fefcc7d0d6dedc220d0a");
    QTest::newRow("turkish small letters") << u"çğıiöşü"_s << QByteArray::fromHex("22e7f0fd69f6fefc220d0a");
    QTest::newRow("turkish capitals") << u"ÇĞIİÖŞÜ"_s << QByteArray::fromHex("22c7d049ddd6dedc220d0a");
    QTest::newRow("quote inside") << u"2\"5"_s << QByteArray("\"2\"5\"\r\n");
    QTest::newRow("quote inside, not doubled") << u"a\"b"_s << QByteArray("\"a\"b\"\r\n");
    QTest::newRow("quote alone") << u"\""_s << QByteArray("\"\"\"\r\n");
    QTest::newRow("euro sign") << u"5 €"_s << QByteArray::fromHex("22352080220d0a");
}
