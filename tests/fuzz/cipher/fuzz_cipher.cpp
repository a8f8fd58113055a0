// The record cipher with any alphabet of distinct characters, any key and any
// text: deciphering undoes enciphering, the length never changes, and only
// characters of the alphabet are replaced, by characters of the alphabet.
//
// Input: one byte n, then n bytes of alphabet (repeated characters dropped),
// four bytes of key, and the rest is the text.
#include "cipher/qt/ChiffreQString.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t n = std::min<std::size_t>(data[0], size - 1);
    std::u32string alphabet;
    for (std::size_t i = 1; i <= n; ++i) {
        // Above 0xFF as well, so wide characters are covered.
        const char32_t ch = data[i] < 0xF0 ? char32_t(data[i]) : char32_t(0x100 + data[i]);
        if (alphabet.find(ch) == std::u32string::npos)
            alphabet.push_back(ch);
    }
    std::size_t at = 1 + n;
    const std::int32_t key = FuzzInt32(data + at, size - at);
    at = std::min(size, at + 4);
    std::u32string text;
    for (; at < size; ++at)
        text.push_back(data[at] < 0xF0 ? char32_t(data[at]) : char32_t(0x100 + data[at]));

    TChiffre cipher;
    cipher.Init(alphabet, key);
    const std::u32string& used = cipher.Alphabet();
    FuzzRequire(cipher.Key() >= 1 && cipher.Key() <= TChiffre::LargestKey, "the key is in range after Init");

    const std::u32string secret = cipher.Encipher(text);
    FuzzRequire(secret.size() == text.size(), "enciphering keeps the length");
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool inAlphabet = used.find(text[i]) != std::u32string::npos;
        FuzzRequire(inAlphabet == (used.find(secret[i]) != std::u32string::npos),
                    "alphabet characters stay in the alphabet");
        FuzzRequire(inAlphabet || secret[i] == text[i], "other characters stay as they are");
    }
    FuzzRequire(cipher.Decipher(secret) == text, "deciphering undoes enciphering");

    // The same through the QString form the table uses, for the BMP part.
    const QString qtext = QString::fromUcs4(text.data(), qsizetype(text.size()));
    if (std::all_of(text.begin(), text.end(), [](char32_t c) { return c > 0 && c < 0xD800; }))
        FuzzRequire(Decipher(cipher, Encipher(cipher, qtext)) == qtext, "round trip of a QString");
    return 0;
}
