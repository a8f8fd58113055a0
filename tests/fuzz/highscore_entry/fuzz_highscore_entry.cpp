// A stored high-score row as the table reads it: any stored text deciphers
// and splits into a row or is refused without trouble, every row the table
// can hold is written and read back unchanged, and refused rows leave no hole.
#include "cipher/qt/ChiffreQString.h"
#include "tests/fuzz/FuzzCheck.h"
#include "ui/HighscoreTable.h"

#include <QList>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TChiffre cipher; // default alphabet and key, as the game's
    const QString stored = FuzzText(data, size);

    const QString plain = Decipher(cipher, stored);
    FuzzRequire(plain.size() == stored.size(), "deciphering keeps the length");
    // (A value with a lone surrogate, only possible through a hand-written
    // escape, reads with a replacement character in its place instead.)
    const QList<uint> wide = stored.toUcs4();
    if (QString::fromUcs4(reinterpret_cast<const char32_t*>(wide.constData()), wide.size()) == stored)
        FuzzRequire(Encipher(cipher, plain) == stored, "a stored value is the cipher of its reading");

    // Any row read is written back as it is.
    if (const std::optional<HighscoreEntry> row = HighscoreTable::ParseEntry(plain)) {
        const QString written = Encipher(cipher, HighscoreTable::FormatEntry(*row));
        FuzzRequire(HighscoreTable::ParseEntry(Decipher(cipher, written)) == row, "a loaded row survives OK");
    }

    // The input's lines as the stored rows: the table holds the readable ones
    // in their order, then unused rows, never a hole.
    const QStringList lines = plain.split(u'\n');
    const HighscoreTable loaded = HighscoreTable::FromStoredRows(lines);
    int next = 0;
    for (const QString& line : lines) {
        if (next == HighscoreTable::RowCount)
            break;
        if (const auto entry = HighscoreTable::ParseEntry(line))
            FuzzRequire(loaded.Row(next++) == *entry, "readable rows keep their order");
    }
    for (; next < HighscoreTable::RowCount; ++next)
        FuzzRequire(loaded.Row(next) == HighscoreTable::EmptyEntry(), "the rest is unused");

    // Any name (commas and all) with any score, as typed into the table.
    const HighscoreEntry typed{stored, FuzzInt32(data, size)};
    FuzzRequire(HighscoreTable::ParseEntry(HighscoreTable::FormatEntry(typed)) == typed,
                "a typed name and its score read back");

    // Ranking and insertion into a table filled from the input stay in bounds.
    HighscoreTable table;
    for (int r = 0; r < HighscoreTable::RowCount; ++r)
        table.SetRow(r, {QString::number(r), size > std::size_t(r) ? std::int8_t(data[r]) * 7 : 0});
    for (int direction : {0, 1}) {
        const int place = table.Rank(typed.Score, direction);
        FuzzRequire(place >= -1 && place < HighscoreTable::RowCount, "a rank is a row or none");
        if (place >= 0) {
            HighscoreTable copy = table;
            copy.Insert(place, typed);
            FuzzRequire(copy.Row(place) == typed, "the new row is where it ranked");
        }
    }
    return 0;
}
