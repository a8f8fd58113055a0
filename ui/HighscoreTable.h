#pragma once
// The fifteen rows of the high-score table as plain values: ranking a new
// score, making room for it, and turning a row into the text that is stored
// (before enciphering) and back. No widgets and no store here, so the rules
// can be checked on their own.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

struct HighscoreEntry {
    QString Name;
    int Score = 0;
    bool operator==(const HighscoreEntry&) const = default;
};

class HighscoreTable {
public:
    static constexpr int RowCount = 15;

    // An unused row: this name with the score 0.
    static QString EmptyName() { return QStringLiteral("Mr. Quill"); }
    static HighscoreEntry EmptyEntry() { return {EmptyName(), 0}; }

    // Score in decimal, a comma, the name as typed: "1520,Anna".
    static QString FormatEntry(const HighscoreEntry& entry);
    // The reverse of FormatEntry, split at the first comma, since names may
    // hold commas of their own. Nothing for empty text, and nothing for text
    // that cannot have come from FormatEntry (no comma, or no whole number
    // before it).
    static std::optional<HighscoreEntry> ParseEntry(const QString& plain);

    // The table from its stored rows (deciphered, row 0 first). A row that
    // holds no entry (missing, or damaged by hand) is left out and the rows
    // below move up, the end being filled with unused rows: a hole in the
    // middle would take the next result above better ones and push a valid
    // last row out, game after game.
    static HighscoreTable FromStoredRows(const QStringList& plainRows);

    HighscoreTable() { Clear(); }

    const HighscoreEntry& Row(int row) const { return rows_.at(size_t(row)); }
    void SetRow(int row, const HighscoreEntry& entry) { rows_.at(size_t(row)) = entry; }
    void SetName(int row, const QString& name) { rows_.at(size_t(row)).Name = name; }

    // Every row unused.
    void Clear();

    // The row a new score takes, or -1 when it earns no place.
    // Direction 0: higher scores first, so the first row scoring less.
    // Direction 1: lower scores first, with 0 marking a free row, so the first
    // row that is free or scores more. Ties rank below the stored rows.
    int Rank(int score, int direction) const;

    // Moves rows `row` .. 13 down by one (the last row drops out) and puts the
    // new entry at `row`.
    void Insert(int row, const HighscoreEntry& entry);

    bool operator==(const HighscoreTable&) const = default;

private:
    std::array<HighscoreEntry, RowCount> rows_;
};
