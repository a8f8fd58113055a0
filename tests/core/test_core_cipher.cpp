// The record cipher must reproduce stored high-score tables bit for bit on
// every build and on every thread. The pinned texts were derived with exact
// rational arithmetic (tests/cipher/derive_expected.py), not by the code
// under test. A run of 'A' shows the shift of every position directly; plain
// double arithmetic drifts from the extended result after some dozens of
// positions, so the 80-character runs tell the two apart.
#include "Check.h"

#include "cipher/Chiffre.h"
#include "cipher/X87Precision.h"

#include <cstdint>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct Vector {
    std::int64_t key;
    std::u32string alphabet;
    std::u32string plain;
    std::u32string enciphered;
};

const std::u32string A80(80, U'A');

const std::vector<Vector>& Vectors()
{
    static const std::vector<Vector> vectors{
        {1, {}, A80, U"TeMpTTm4Q1ffVQD2VIB670FNxXPUzYWGdSlIgryI5tOL1WW99k3xtedwzSa37dnSLJ0ts1U5kBLqT367"},
        {2, {}, A80, U"n0FnEkQ0H9qjuiqGMP4gL5zZBwl1B9JF09uRXu7ma9asJ58RPRkbcJUvohaEwDphzNXJfAQH7WTFQcsJ"},
        {7, {}, A80, U"Omih0ihXz5p3uoQrpmf2VyLnCTLDFx5O8BA4hWpFxneI418dvoGSaZfrFlesHCiW1Az7ZQzQN47GneFJ"},
        {58213, {}, A80, U"vNQ8fnNZGmN0rc3zHC7KgZPJJ176MOEnKT1IhsIbVSYwl4wUyScT4Ci7vSFXwyUMHLdjKvYD64zqD2ZB"},
        {99991, {}, A80, U"Hl0fyEOa1viKEHIh88PHHcutPViSwC3iOvEpdXF8kw7QNp6DLpfqdgaDskf6FrBn9rhIkS1vpiCGaGmB"},
        {1000003, {}, A80, U"0toOpWQrR03KwgX9EMTgaYjiJ8TKPBFNJDjXgHLaazedihK5bLexMJoOcR4hpn5CSf97L3elXqytJULm"},
        {123456789, {}, A80, U"c8arSqTfQDY9NwtaAKYIDUO2g0dllk1ZX3bYWgQm2dK61LXKrmXsMLLLZat2UASrgjEB3dlbH1ndKU2E"},
        {2147482863, {}, A80, U"rMfz9VgCtEnVRhu6XbjtMAlXmhFn5fYYWh5NpAcmXixThZQo8GcYLFlRSNYkTmBa3JxBvn8Fsp00Oyxa"},
        // As the high-score table stores a row: the comma, the blank and the
        // umlaut keep their places and use up their shifts.
        {0, {}, U"1234,Hans M\u00fcller", U"mFJ2,unCy Z\u00fcSDXg"},
        {0, U"AB", std::u32string(20, U'A'), U"BAABBBAAABABBABBAABA"},
    };
    return vectors;
}

// Every vector both ways; false (and a report) on the first mismatch.
bool VectorsMatch()
{
    const int before = check::Failures();
    for (const Vector& v : Vectors()) {
        TChiffre cipher;
        cipher.Init(v.alphabet, v.key);
        CHECK_EQ(cipher.Encipher(v.plain), v.enciphered);
        CHECK_EQ(cipher.Decipher(v.enciphered), v.plain);
    }
    return check::Failures() == before;
}

// Runs the vectors on a new thread whose x87 precision was lowered first, as
// a thread made by the Windows API starts. The cipher must leave the thread's
// precision as it found it.
void VectorsOnThreadAt(X87Precision precision)
{
    std::thread([precision] {
        const X87PrecisionScope lowered(precision);
        CHECK(CurrentX87Precision() == precision);
        // The lowering is really in force: 1 + 2^-60 rounds to 1 below
        // 64 bits, and only there.
        volatile long double one = 1.0L;
        volatile long double tiny = 0x1p-60L;
        CHECK(one + tiny == one);
        CHECK(VectorsMatch());
        CHECK(CurrentX87Precision() == precision);
    }).join();
}

} // namespace

TEST_CASE(vectorsMatchOnTheMainThread)
{
    CHECK(VectorsMatch());
}

TEST_CASE(vectorsMatchOnAThreadAtDoublePrecision)
{
    VectorsOnThreadAt(X87Precision::Double);
}

TEST_CASE(vectorsMatchOnAThreadAtSinglePrecision)
{
    VectorsOnThreadAt(X87Precision::Single);
}

TEST_CASE(precisionScopeRestoresTheControlWord)
{
    const X87Precision before = CurrentX87Precision();
    {
        const X87PrecisionScope lowered(X87Precision::Double);
        CHECK(CurrentX87Precision() == X87Precision::Double);
        {
            const X87PrecisionScope extended(X87Precision::Extended);
            CHECK(CurrentX87Precision() == X87Precision::Extended);
        }
        CHECK(CurrentX87Precision() == X87Precision::Double);
    }
    CHECK(CurrentX87Precision() == before);
}

#ifdef _WIN32
// The thread the game's audio and dialogs really run on: one made by the
// Windows API, at whatever precision the system starts it with.
TEST_CASE(vectorsMatchOnAWindowsApiThread)
{
    const auto run = [](LPVOID result) -> DWORD {
        *static_cast<bool*>(result) = VectorsMatch();
        return 0;
    };
    bool matched = false;
    HANDLE thread = CreateThread(nullptr, 0, run, &matched, 0, nullptr);
    CHECK(thread != nullptr);
    if (thread) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    CHECK(matched);
}
#endif

TEST_CASE(initNormalisesTheKey)
{
    struct Row {
        std::int64_t given;
        std::int32_t stored;
    };
    for (const Row row : {Row{0, 58213}, Row{-987654, 987654}, Row{2147483647, 2147482863},
                          Row{-2147483648LL, 2147482863}, Row{2147482863, 2147482863}}) {
        TChiffre cipher;
        cipher.Init({}, row.given);
        CHECK_EQ(cipher.Key(), row.stored);
        CHECK(cipher.Alphabet() == TChiffre::DefaultAlphabet);
    }
}

TEST_CASE(roundTripKeepsEveryText)
{
    const std::u32string mixed = U"Hans M\u00fcller,0815 Zo\u00eb \u00c6r\u00f8 \u00df9 \u03a9\u03bc ,,AZaz09 \U0001F600";
    for (const std::int64_t key : {1LL, 58213LL, 2147482863LL}) {
        TChiffre cipher;
        cipher.Init({}, key);
        for (std::size_t length = 0; length <= mixed.size(); ++length) {
            const std::u32string text = mixed.substr(0, length);
            const std::u32string secret = cipher.Encipher(text);
            CHECK_EQ(secret.size(), text.size());
            CHECK_EQ(cipher.Decipher(secret), text);
        }
    }
}

TEST_MAIN()
