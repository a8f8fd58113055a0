#pragma once
// The record cipher: a position-dependent substitution over a fixed alphabet
// that keeps the stored high-score rows from reading as names and numbers.
//
// The shift at each position comes from a chaotic sequence (x * 997 + pi,
// fractional part) whose values depend on the exact rounding of every step.
// Tables written by earlier versions can only be read back if that rounding is
// reproduced bit for bit, hence the 80-bit extended arithmetic below.
//
// Plain C++ on std::u32string, so that it builds wherever the rules do; the
// QString forms are in cipher/qt/ChiffreQString.h.
#include <cstdint>
#include <string>

class TChiffre
{
public:
    static const std::u32string DefaultAlphabet;
    static constexpr std::int32_t DefaultKey = 58213;
    static constexpr std::int32_t LargestKey = 2147482863; // $7FFFFCEF

    // Usable before Init: default alphabet and key.
    TChiffre();

    // An empty alphabet selects the default; the key's magnitude is used,
    // 0 selects the default key, larger magnitudes are cut to LargestKey.
    void Init(const std::u32string& alphabet, std::int64_t key);

    std::u32string Encipher(const std::u32string& text) const;
    std::u32string Decipher(const std::u32string& text) const;

    // The core: shifts every alphabet character of the text by the amount of
    // its position, forwards for a positive key, backwards for a negative one.
    // Characters outside the alphabet stay as they are but use up their shift.
    // Computed at extended precision whatever precision the calling thread
    // runs at.
    std::u32string Transform(std::u32string text, std::int64_t key) const;

    const std::u32string& Alphabet() const { return alphabet_; }
    std::int32_t Key() const { return key_; }

private:
    std::u32string alphabet_;
    std::int32_t key_;
};

// The one cipher the whole program shares (initialised at start-up).
extern TChiffre ScoreCipher;
