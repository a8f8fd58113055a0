#pragma once
// What the store writer (the kill test's victim) writes in its generation g,
// shared with the test that checks what a killed writer left behind.
//
// Generation g enters the score 1000 + g under the name "gen<g>", which
// takes row 0 and moves the earlier generations down, so that after it row i
// holds generation g - i (rows of generations before the first are unused).
// Then it writes the program settings with tongue = g and the main window's
// placement with left = g.
#include <QString>

#include <optional>

namespace StoreGenerations {

inline int ScoreOf(int generation) { return 1000 + generation; }
inline QString NameOf(int generation) { return QStringLiteral("gen%1").arg(generation); }

// The generation a name stands for, if it is one of ours.
inline std::optional<int> GenerationOf(const QString& name)
{
    if (!name.startsWith(QStringLiteral("gen")))
        return std::nullopt;
    bool ok = false;
    const int generation = name.mid(3).toInt(&ok);
    return ok ? std::optional<int>(generation) : std::nullopt;
}

inline bool SoundOf(int generation) { return generation % 2 == 1; }
inline bool MusicOf(int generation) { return generation % 3 != 0; }
inline int BackModeOf(int generation) { return generation % 7; }

} // namespace StoreGenerations
