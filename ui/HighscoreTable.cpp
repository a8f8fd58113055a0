#include "ui/HighscoreTable.h"

QString HighscoreTable::FormatEntry(const HighscoreEntry& entry)
{
    return QString::number(entry.Score) + u',' + entry.Name;
}

std::optional<HighscoreEntry> HighscoreTable::ParseEntry(const QString& plain)
{
    const qsizetype comma = plain.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    bool isNumber = false;
    const int score = plain.left(comma).toInt(&isNumber, 10);
    if (!isNumber)
        return std::nullopt;
    return HighscoreEntry{plain.mid(comma + 1), score};
}

HighscoreTable HighscoreTable::FromStoredRows(const QStringList& plainRows)
{
    HighscoreTable table;
    int filled = 0;
    for (const QString& plain : plainRows) {
        if (filled == RowCount)
            break;
        if (const std::optional<HighscoreEntry> entry = ParseEntry(plain))
            table.rows_[size_t(filled++)] = *entry;
    }
    return table;
}

void HighscoreTable::Clear()
{
    rows_.fill(EmptyEntry());
}

int HighscoreTable::Rank(int score, int direction) const
{
    for (int row = 0; row < RowCount; ++row) {
        const int stored = rows_[size_t(row)].Score;
        const bool takesThisRow = direction == 1 ? (stored == 0 || stored > score) : stored < score;
        if (takesThisRow)
            return row;
    }
    return -1;
}

void HighscoreTable::Insert(int row, const HighscoreEntry& entry)
{
    for (int below = RowCount - 1; below > row; --below)
        rows_[size_t(below)] = rows_[size_t(below - 1)];
    rows_.at(size_t(row)) = entry;
}
