// The record cipher must reproduce stored high-score tables bit for bit. The
// pinned enciphered texts below were derived independently with exact
// rational arithmetic (derive_expected.py in this folder), not taken from the
// code under test.
#include "cipher/qt/ChiffreQString.h"

#include <QtTest>

#include <cmath>

namespace {

// Mixed material for round trips: capitals, small letters, digits, commas,
// blanks, accented and non-Latin letters, and one character outside the BMP.
const QString MixedSource = QString::fromUtf8("Hans Müller,0815 Zoë Ærø ß9 Ωμέγα ,,AZaz09 é\U0001F600çÑ");

// What a cipher computed in plain double precision would give; it must
// disagree with the real one somewhere over the pinned texts, or the pins
// could not tell the two apart.
QString DoublePrecisionEncipher(const QString& text, std::int32_t key)
{
    const std::u32string& alphabet = TChiffre::DefaultAlphabet;
    const double n = static_cast<double>(alphabet.size());
    double x = std::fabs(key / 3.14159265358979323846);
    QString result;
    for (QChar ch : text) {
        x -= std::trunc(x);
        const int shift = static_cast<int>(std::trunc(n * x));
        // Kept apart so that no build option can fuse them into one step.
        volatile double scaled = x * 997;
        x = scaled + 3.14159265358979323846;
        const auto index = alphabet.find(ch.unicode());
        result += index == std::u32string::npos
            ? ch
            : QChar(static_cast<char16_t>(alphabet[(index + shift) % alphabet.size()]));
    }
    return result;
}

TChiffre MakeCipher(const QString& alphabet, std::int64_t key)
{
    TChiffre cipher;
    Init(cipher, alphabet, key);
    return cipher;
}

} // namespace

class TestChiffre : public QObject
{
    Q_OBJECT

private slots:
    void initNormalisesAlphabetAndKey_data();
    void initNormalisesAlphabetAndKey();
    void emptyTextStaysEmpty();
    void textOutsideAlphabetIsUnchanged_data();
    void textOutsideAlphabetIsUnchanged();
    void roundTripsMixedTexts_data();
    void roundTripsMixedTexts();
    void pinnedValues_data();
    void pinnedValues();
    void pinnedValuesRejectDoublePrecision();
    void equivalentKeysGiveTheSameCipher_data();
    void equivalentKeysGiveTheSameCipher();
    void twoLetterAlphabetReplacesOnlyItsLetters();
    void repeatedLetterVariesWithPosition();
    void sharedCipherWorksBeforeInit();
};

void TestChiffre::initNormalisesAlphabetAndKey_data()
{
    QTest::addColumn<QString>("alphabet");
    QTest::addColumn<qint64>("key");
    QTest::addColumn<QString>("expectedAlphabet");
    QTest::addColumn<int>("expectedKey");

    const QString standard = QString::fromStdU32String(TChiffre::DefaultAlphabet);
    QTest::newRow("empty alphabet, key 0") << QString() << qint64(0) << standard << 58213;
    QTest::newRow("negative key") << QString() << qint64(-12345) << standard << 12345;
    QTest::newRow("largest key") << QString() << qint64(2147483647) << standard << 2147482863;
    QTest::newRow("key at the limit") << QString() << qint64(2147482863) << standard << 2147482863;
    QTest::newRow("key just above the limit") << QString() << qint64(2147482864) << standard << 2147482863;
    QTest::newRow("largest negative key") << QString() << qint64(-2147483647) << standard << 2147482863;
    // Its magnitude does not fit in 32 bits; it must not turn into a negative key.
    QTest::newRow("most negative 32-bit key") << QString() << qint64(-2147483647 - 1) << standard << 2147482863;
    QTest::newRow("own alphabet") << QStringLiteral("AB") << qint64(7) << QStringLiteral("AB") << 7;
}

void TestChiffre::initNormalisesAlphabetAndKey()
{
    QFETCH(QString, alphabet);
    QFETCH(qint64, key);
    QFETCH(QString, expectedAlphabet);
    QFETCH(int, expectedKey);

    const TChiffre cipher = MakeCipher(alphabet, key);
    QCOMPARE(QString::fromStdU32String(cipher.Alphabet()), expectedAlphabet);
    QCOMPARE(cipher.Key(), expectedKey);
}

void TestChiffre::emptyTextStaysEmpty()
{
    const TChiffre cipher = MakeCipher(QString(), 0);
    QVERIFY(Encipher(cipher, QString()).isEmpty());
    QVERIFY(Decipher(cipher, QString()).isEmpty());
    QVERIFY(cipher.Encipher(std::u32string()).empty());
}

void TestChiffre::textOutsideAlphabetIsUnchanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("comma, blanks, dots") << QStringLiteral(", .. ,  .");
    QTest::newRow("accented and non-Latin") << QString::fromUtf8("äöü ß, Ωμέγα Привет");
    QTest::newRow("outside the BMP") << QString::fromUtf8("\U0001F600,\U0001F601");
}

void TestChiffre::textOutsideAlphabetIsUnchanged()
{
    QFETCH(QString, text);
    const TChiffre cipher = MakeCipher(QString(), 0);
    QCOMPARE(Encipher(cipher, text), text);
    QCOMPARE(Decipher(cipher, text), text);
}

void TestChiffre::roundTripsMixedTexts_data()
{
    QTest::addColumn<QString>("alphabet");
    QTest::addColumn<qint64>("key");
    QTest::newRow("default") << QString() << qint64(0);
    QTest::newRow("key 1") << QString() << qint64(1);
    QTest::newRow("largest key") << QString() << qint64(2147483647);
    QTest::newRow("own alphabet with umlauts") << QString::fromUtf8("aäoöuüß,") << qint64(424242);
}

void TestChiffre::roundTripsMixedTexts()
{
    QFETCH(QString, alphabet);
    QFETCH(qint64, key);
    const TChiffre cipher = MakeCipher(alphabet, key);
    const QList<uint> source = MixedSource.toUcs4();

    for (int length = 1; length <= 40; ++length) {
        // A different slice for every length, wrapping round the source.
        QList<uint> slice;
        for (int i = 0; i < length; ++i)
            slice.append(source[(length * 7 + i) % source.size()]);
        const QString text = QString::fromUcs4(reinterpret_cast<const char32_t*>(slice.constData()), slice.size());

        const QString enciphered = Encipher(cipher, text);
        QCOMPARE(enciphered.size(), text.size());
        QCOMPARE(Decipher(cipher, enciphered), text);

        const QList<uint> out = enciphered.toUcs4();
        for (int i = 0; i < length; ++i) {
            const bool inAlphabet = cipher.Alphabet().find(slice[i]) != std::u32string::npos;
            if (!inAlphabet)
                QCOMPARE(out[i], slice[i]);
            else
                QVERIFY(cipher.Alphabet().find(out[i]) != std::u32string::npos);
        }
    }
}

void TestChiffre::pinnedValues_data()
{
    QTest::addColumn<qint64>("key");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("enciphered");

    // A run of 'A' shows the shift of every position directly.
    QTest::newRow("default key, 80 shifts")
        << qint64(58213) << QString(80, u'A')
        << QStringLiteral("vNQ8fnNZGmN0rc3zHC7KgZPJJ176MOEnKT1IhsIbVSYwl4wUyScT4Ci7vSFXwyUMHLdjKvYD64zqD2ZB");
    QTest::newRow("key 1") << qint64(1) << QString(40, u'A')
                           << QStringLiteral("TeMpTTm4Q1ffVQD2VIB670FNxXPUzYWGdSlIgryI");
    QTest::newRow("largest key") << qint64(2147483647) << QString(40, u'A')
                                 << QStringLiteral("rMfz9VgCtEnVRhu6XbjtMAlXmhFn5fYYWh5NpAcm");
    QTest::newRow("score row") << qint64(0) << QString::fromUtf8("1234,Hans Müller")
                               << QString::fromUtf8("mFJ2,unCy ZüSDXg");
    QTest::newRow("score row, largest key") << qint64(2147483647) << QString::fromUtf8("0815,Zoë")
                                            << QString::fromUtf8("hKWu,uKë");
}

void TestChiffre::pinnedValues()
{
    QFETCH(qint64, key);
    QFETCH(QString, plain);
    QFETCH(QString, enciphered);
    const TChiffre cipher = MakeCipher(QString(), key);
    QCOMPARE(Encipher(cipher, plain), enciphered);
    QCOMPARE(Decipher(cipher, enciphered), plain);
}

void TestChiffre::pinnedValuesRejectDoublePrecision()
{
    // Plain double arithmetic agrees for a while and then drifts (at position
    // 66 for the default key), so the 80-character pin above catches it.
    const QString plain(80, u'A');
    const QString extended = Encipher(MakeCipher(QString(), 0), plain);
    const QString doubled = DoublePrecisionEncipher(plain, 58213);
    QCOMPARE(doubled.left(40), extended.left(40));
    QVERIFY(doubled != extended);
}

void TestChiffre::equivalentKeysGiveTheSameCipher_data()
{
    QTest::addColumn<qint64>("key");
    QTest::addColumn<qint64>("sameAs");
    QTest::newRow("0 is the default key") << qint64(0) << qint64(58213);
    QTest::newRow("negative key is its magnitude") << qint64(-987654) << qint64(987654);
    QTest::newRow("too large is the largest") << qint64(2147483647) << qint64(2147482863);
}

void TestChiffre::equivalentKeysGiveTheSameCipher()
{
    QFETCH(qint64, key);
    QFETCH(qint64, sameAs);
    const QString text = MixedSource + QString(30, u'Q');
    QCOMPARE(Encipher(MakeCipher(QString(), key), text), Encipher(MakeCipher(QString(), sameAs), text));
}

void TestChiffre::twoLetterAlphabetReplacesOnlyItsLetters()
{
    const TChiffre cipher = MakeCipher(QStringLiteral("AB"), 0);
    // Derived: shifts of 0 keep the letter, shifts of 1 swap it.
    QCOMPARE(Encipher(cipher, QString(20, u'A')), QStringLiteral("BAABBBAAABABBABBAABA"));
    QCOMPARE(Encipher(cipher, QString::fromUtf8("AB, xyz AB äB")), QString::fromUtf8("BB, xyz AA äA"));
    QCOMPARE(Decipher(cipher, QString::fromUtf8("BB, xyz AA äA")), QString::fromUtf8("AB, xyz AB äB"));
}

void TestChiffre::repeatedLetterVariesWithPosition()
{
    const QString enciphered = Encipher(MakeCipher(QString(), 0), QStringLiteral("eeeeeeee"));
    QSet<QChar> distinct(enciphered.cbegin(), enciphered.cend());
    QVERIFY2(distinct.size() > 1, qPrintable(enciphered));
}

void TestChiffre::sharedCipherWorksBeforeInit()
{
    // The shared object already holds the defaults, and Init as start-up
    // does it changes nothing.
    const QString before = Encipher(ScoreCipher, QStringLiteral("1234,Hans"));
    Init(ScoreCipher, QString(), 0);
    QCOMPARE(Encipher(ScoreCipher, QStringLiteral("1234,Hans")), before);
    QCOMPARE(before, Encipher(MakeCipher(QString(), 58213), QStringLiteral("1234,Hans")));
}

QTEST_GUILESS_MAIN(TestChiffre)
#include "test_chiffre.moc"
