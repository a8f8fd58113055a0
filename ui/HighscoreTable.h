#pragma once
// The fifteen rows of the high-score table as plain values: ranking a new
// score, making room for it, and turning a row into the text that is stored
// (before enciphering) and back. No widgets and no store here, so the rules
// can be checked on their own.
#include <QString>
#include <array>

struct THighscoreEntry {
    QString Name;
    int Score = 0;
    bool operator==(const THighscoreEntry&) const = default;
};

class THighscoreTable {
public:
    static constexpr int RowCount = 15;

    // An unused row: this name with the score 0.
    static QString EmptyName() { return QStringLiteral("Mr. Quill"); }
    static THighscoreEntry EmptyEntry() { return {EmptyName(), 0}; }

    // Score in decimal, a comma, the name as typed: "1520,Anna".
    static QString FormatEntry(const THighscoreEntry& entry);
    // The reverse of FormatEntry, split at the first comma, since names may
    // hold commas of their own. Empty text is an unused row. Text that cannot
    // have come from FormatEntry (no comma, or no whole number before it) is
    // read as an unused row too, so one damaged value cannot lock the player
    // out of the whole table; the next store writes it back clean.
    static THighscoreEntry ParseEntry(const QString& plain);

    THighscoreTable() { Clear(); }

    const THighscoreEntry& Row(int row) const { return rows_.at(size_t(row)); }
    void SetRow(int row, const THighscoreEntry& entry) { rows_.at(size_t(row)) = entry; }
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
    void Insert(int row, const THighscoreEntry& entry);

private:
    std::array<THighscoreEntry, RowCount> rows_;
};
