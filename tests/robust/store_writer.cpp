// The victim of the kill test: writes the high-score table through the
// high-score window's own OK and the program settings through the settings
// store, generation after generation, until it is killed. It goes on from the
// generation it finds in the store, and says "ready" once it has written one
// whole generation.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>

#include "assets/DlgRes.h"
#include "cipher/qt/ChiffreQString.h"
#include "settings/Globals.h"
#include "settings/ProgramSettings.h"
#include "settings/TIniCtrl.h"
#include "settings/WindowPlacement.h"
#include "tests/robust/StoreGenerations.h"
#include "settings/ErrorReport.h"
#include "ui/highscor.h"

using namespace StoreGenerations;

namespace {

int LastGeneration(const TIniCtrl& ini)
{
    const QString row0 = ini.ReadString(CommonSection(), QStringLiteral("hs0"), QString());
    const HighscoreEntry entry = HighscoreTable::ParseEntry(Decipher(ScoreCipher, row0)).value_or(HighscoreEntry{});
    return GenerationOf(entry.Name).value_or(0);
}

void WriteGeneration(THighscoreDlg& table, TIniCtrl& ini, int generation)
{
    // The window's own way: rank and open the row, type the name, press OK.
    QTimer::singleShot(0, &table, [&table, generation] {
        table.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(NameOf(generation));
        table.OkBtnClick();
    });
    table.ShowModal(ScoreOf(generation), false);

    Tongue = generation;
    SoundOn = SoundOf(generation);
    MusicOn = MusicOf(generation);
    WriteProgramSettings(ini, BackModeOf(generation));
    WindowPlacement placement;
    placement.left = generation;
    placement.top = 0;
    placement.right = generation + 700;
    placement.bottom = 500;
    ini.WriteString(CommonSection(), QStringLiteral("MainForm"), FormatPlacement(placement));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Nothing may stop the loop: a failed write would otherwise open a box.
    SetErrorReporter([](const QString& message) { std::fprintf(stderr, "%s\n", qPrintable(message)); });
    ScoreCipher.Init(std::u32string(), 0);
    DlgResources = new TDlgResources;
    TIniCtrl ini;
    THighscoreDlg table(ini, nullptr);

    const int first = LastGeneration(ini) + 1;
    // A number on the command line: write that many generations and stop.
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    for (int generation = first; count == 0 || generation < first + count; ++generation) {
        WriteGeneration(table, ini, generation);
        if (generation == first) {
            std::printf("ready %d\n", generation);
            std::fflush(stdout);
        }
    }
    return 0;
}
