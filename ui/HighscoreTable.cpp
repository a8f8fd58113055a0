#include "ui/HighscoreTable.h"

QString THighscoreTable::FormatEntry(const THighscoreEntry& entry)
{
    return QString::number(entry.Score) + u',' + entry.Name;
}

THighscoreEntry THighscoreTable::ParseEntry(const QString& plain)
{
    if (plain.isEmpty())
        return EmptyEntry();
    const qsizetype comma = plain.indexOf(u',');
    if (comma < 0)
        return EmptyEntry();
    bool isNumber = false;
    const int score = plain.left(comma).toInt(&isNumber, 10);
    if (!isNumber)
        return EmptyEntry();
    return {plain.mid(comma + 1), score};
}

void THighscoreTable::Clear()
{
    rows_.fill(EmptyEntry());
}

int THighscoreTable::Rank(int score, int direction) const
{
    for (int row = 0; row < RowCount; ++row) {
        const int stored = rows_[size_t(row)].Score;
        const bool takesThisRow = direction == 1 ? (stored == 0 || stored > score) : stored < score;
        if (takesThisRow)
            return row;
    }
    return -1;
}

void THighscoreTable::Insert(int row, const THighscoreEntry& entry)
{
    for (int below = RowCount - 1; below > row; --below)
        rows_[size_t(below)] = rows_[size_t(below - 1)];
    rows_.at(size_t(row)) = entry;
}
