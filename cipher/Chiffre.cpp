#include "cipher/Chiffre.h"

#include "cipher/X87Precision.h"

#include <cmath>
#include <limits>
#include <utility>

// The shifts must come out exactly as the x87 extended format computes them;
// with a different long double (64-bit on MSVC/ARM, 128-bit quad elsewhere)
// stored high-score tables would decipher to garbage, so refuse to build.
static_assert(std::numeric_limits<long double>::digits == 64,
              "the record cipher needs the 80-bit extended long double (x86 with GCC or Clang)");
static_assert(std::numeric_limits<double>::digits == 53, "the record cipher needs IEEE double");

namespace {

// The extended value nearest to pi (mantissa C90FDAA22168C235).
constexpr long double ExtendedPi = 3.14159265358979323851L;
constexpr long double Multiplier = 997.0L;

// Storing through a volatile double forces the rounding to 53 bits at the
// points where the original kept x in a double variable; without it the
// compiler may keep x in an x87 register at full width.
double StoreAsDouble(long double value)
{
    volatile double stored = static_cast<double>(value);
    return stored;
}

std::u32string Shifted(std::u32string text, std::int64_t key, const std::u32string& alphabet);

} // namespace

const std::u32string TChiffre::DefaultAlphabet = U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

TChiffre ScoreCipher;

TChiffre::TChiffre()
    : alphabet_(DefaultAlphabet)
    , key_(DefaultKey)
{
}

void TChiffre::Init(const std::u32string& alphabet, std::int64_t key)
{
    alphabet_ = alphabet.empty() ? DefaultAlphabet : alphabet;
    // Taken as a 64-bit magnitude so that the most negative 32-bit key is cut
    // to LargestKey instead of overflowing into a negative key.
    const std::int64_t magnitude = key < 0 ? -key : key;
    if (magnitude == 0)
        key_ = DefaultKey;
    else if (magnitude > LargestKey)
        key_ = LargestKey;
    else
        key_ = static_cast<std::int32_t>(magnitude);
}

std::u32string TChiffre::Encipher(const std::u32string& text) const
{
    return Transform(text, key_);
}

std::u32string TChiffre::Decipher(const std::u32string& text) const
{
    return Transform(text, -static_cast<std::int64_t>(key_));
}

std::u32string TChiffre::Transform(std::u32string text, std::int64_t key) const
{
    if (text.empty())
        return text;
    // The shifts are only right at 64-bit mantissa; the thread may run at
    // less (Windows API threads start at 53 bits).
    const X87PrecisionScope extended(X87Precision::Extended);
    return Shifted(std::move(text), key, alphabet_);
}

namespace {

// Not inlined: none of its arithmetic may be moved to before the precision
// is set.
[[gnu::noinline]] std::u32string Shifted(std::u32string text, std::int64_t key, const std::u32string& alphabet)
{
    const std::int64_t n = static_cast<std::int64_t>(alphabet.size());
    const long double quotient = static_cast<long double>(key) / ExtendedPi;
    double x = StoreAsDouble(std::fabs(quotient));

    for (char32_t& ch : text) {
        // x is a double here, so x - trunc(x) is exact in either width.
        x = StoreAsDouble(static_cast<long double>(x) - std::trunc(static_cast<long double>(x)));
        std::int64_t shift = static_cast<std::int64_t>(std::trunc(static_cast<long double>(n) * x));
        if (key < 0)
            shift = -shift;
        const long double scaled = static_cast<long double>(x) * Multiplier;
        x = StoreAsDouble(scaled + ExtendedPi);

        const std::size_t index = alphabet.find(ch);
        if (index != std::u32string::npos) {
            const std::int64_t target = (static_cast<std::int64_t>(index) + shift + n) % n;
            ch = alphabet[static_cast<std::size_t>(target)];
        }
    }
    return text;
}

} // namespace
