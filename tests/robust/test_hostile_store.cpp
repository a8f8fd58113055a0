// A settings store full of hostile values, written as raw file bytes: every
// key of the game holding empty text, a value of the wrong type, a megabyte,
// control characters or invalid UTF-8. The game starts with defaults where the
// values are bad and keeps the good ones, and the high-score table opens.
// Absurd window placements open a window on the screen, at most as large as
// the desktop.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "assets/DlgRes.h"
#include "cipher/qt/ChiffreQString.h"
#include "game/mainform/main.h"
#include "settings/Globals.h"
#include "settings/TIniCtrl.h"
#include "tests/game/FakeServices.h"
#include "ui/HighscoreTable.h"
#include "settings/ErrorReport.h"
#include "ui/highscor.h"

namespace {

const QList<QByteArray> SettingKeys = {"tongue", "sound", "music", "backmode", "MainForm"};

QList<QByteArray> RowKeys()
{
    QList<QByteArray> keys;
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        keys << "hs" + QByteArray::number(row);
    return keys;
}

// The memory the process holds now, in KiB (0 where it cannot be read).
qint64 ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

struct ShownTable {
    bool shown = false;
    QList<HighscoreEntry> rows;
    QStringList numbers;
};

} // namespace

class HostileStoreTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void everyKeyHostile_data();
    void everyKeyHostile();
    void goodValuesAmongBadOnesAreKept();
    void oneUnreadableLineKeepsTheRest();
    void absurdPlacementOpensOnTheScreen_data();
    void absurdPlacementOpensOnTheScreen();

private:
    // The store file exactly as given; a time stamp of its own every time,
    // since the store tells files apart by size and time stamp.
    void WriteStore(const QByteArray& content);
    void StartGame();
    // The table in show-only mode, answered from inside its own loop.
    ShownTable OpenTable();

    QString storeFile_;
    int stores_ = 0;
    QStringList errors_;
    std::unique_ptr<FakeServices> services_;
    std::unique_ptr<Tmainform> form_;
};

void HostileStoreTest::initTestCase()
{
    storeFile_ = TIniCtrl().StoreLocation();
    SetErrorReporter([this](const QString& message) { errors_ << message; });
    DlgResources = new TDlgResources;
    ScoreCipher.Init(std::u32string(), 0);
}

void HostileStoreTest::cleanupTestCase()
{
    delete DlgResources;
    DlgResources = nullptr;
}

void HostileStoreTest::init()
{
    // Every test is a run of its own, told again.
    TIniCtrl::ResetFailureNotice();
    errors_.clear();
    services_ = std::make_unique<FakeServices>();
    services_->chooseLanguage = [] { Tongue = 0; };
}

void HostileStoreTest::cleanup()
{
    form_.reset();
    QFile::remove(storeFile_);
}

void HostileStoreTest::WriteStore(const QByteArray& content)
{
    QDir().mkpath(QFileInfo(storeFile_).path());
    QFile file(storeFile_);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
    QVERIFY(file.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000LL + 100 * ++stores_),
                             QFileDevice::FileModificationTime));
}

void HostileStoreTest::StartGame()
{
    Tongue = 42;
    form_ = std::make_unique<Tmainform>(*services_, std::make_unique<UniformRandom>(3));
    form_->RestorePlacement();
    form_->show();
    form_->Timer.stop();
    form_->FormShow();
}

ShownTable HostileStoreTest::OpenTable()
{
    ShownTable shown;
    THighscoreDlg table(form_->ini, form_.get());
    QTimer::singleShot(0, &table, [&] {
        shown.shown = table.isVisible();
        QWidget* back = table.findChild<QWidget*>(QStringLiteral("EditBack"));
        for (int row = 0; row < HighscoreTable::RowCount; ++row) {
            const auto label = [&](const char* prefix) {
                return back->findChild<QLabel*>(QLatin1String(prefix) + QString::number(row))->text();
            };
            shown.numbers << label("num");
            shown.rows << HighscoreEntry{label("pla"), label("sco").toInt()};
        }
        table.CancelBtnClick();
    });
    table.ShowModal(0, true);
    return shown;
}

void HostileStoreTest::everyKeyHostile_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("binary"); // a value the game never writes: the store stays closed
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("words") << QByteArray("German") << false;
    QTest::newRow("decimal fraction") << QByteArray("1.5") << false;
    QTest::newRow("list") << QByteArray("1,2,3,4,5,6,7,8") << false;
    QTest::newRow("typed rectangle") << QByteArray("@Rect(1 2 3 4)") << false;
    QTest::newRow("binary variant") << QByteArray("@Variant(\\0\\0\\0\\x7f\\0\\0)") << true;
    QTest::newRow("byte array type") << QByteArray("@ByteArray(\\xff\\0x)") << false;
    QTest::newRow("one megabyte") << QByteArray(1024 * 1024, '9') << false;
    QTest::newRow("control characters") << QByteArray("a\x01\x02\x1b[31m\x7f\tb\x00z", 15) << false;
    QTest::newRow("invalid UTF-8") << QByteArray("\xff\xfe\xc3\x28\xed\xa0\x80\xf8\x88\x80\x80\x80") << false;
    QTest::newRow("unterminated quote") << QByteArray("\"200,0,1,10,20,710,500") << false;
    QTest::newRow("escapes") << QByteArray("\\x0041\\u\\") << false;
}

void HostileStoreTest::everyKeyHostile()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, binary);
    QByteArray content = "[common]\n";
    for (const QByteArray& key : SettingKeys + RowKeys() + QList<QByteArray>{"player"})
        content += key + '=' + value + '\n';
    WriteStore(content);

    StartGame();
    // Bad values give the defaults: no language yet (so it is asked),
    // sound and music on, the first background, the window centred.
    QCOMPARE(services_->languageAsked, 1);
    QCOMPARE(SoundOn, true);
    QCOMPARE(MusicOn, true);
    QCOMPARE(form_->BackMode(), 0);
    const QRect screen = form_->screen()->availableGeometry();
    QVERIFY2(screen.contains(form_->frameGeometry()) || form_->frameGeometry().contains(screen),
             qPrintable(QStringLiteral("window at %1,%2").arg(form_->x()).arg(form_->y())));

    // The game plays.
    const BoardGeometry& g = form_->Painter().Geometry();
    form_->boxMouseDown(Qt::LeftButton, g.PreviewLeft + g.CellSize, g.PreviewTop + g.CellSize);
    QVERIFY(form_->Game().InHand());

    const ShownTable shown = OpenTable();
    QVERIFY(shown.shown);
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        QCOMPARE(shown.numbers[row], QStringLiteral("%1.   ").arg(row + 1));
    if (!binary) {
        QVERIFY(errors_.isEmpty());
        return;
    }
    // Told once, naming the file, which the close leaves as it was.
    QCOMPARE(errors_.size(), 1);
    QVERIFY2(errors_.first().contains(storeFile_), qPrintable(errors_.first()));
    form_->Leave();
    form_.reset();
    QFile file(storeFile_);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
}

void HostileStoreTest::oneUnreadableLineKeepsTheRest()
{
    const QByteArray content = "[common]\n"
                               "tongue=1\n"
                               "sound=0\n"
                               "backmode=3\n"
                               "extra=@Variant(abc)\n"
                               "hs0=" + Encipher(ScoreCipher, HighscoreTable::FormatEntry({QStringLiteral("Anna"), 900})).toUtf8()
        + "\n";
    WriteStore(content);
    StartGame();
    // The rest is used: no language question, the stored options and rows.
    QCOMPARE(services_->languageAsked, 0);
    QCOMPARE(Tongue, 1);
    QCOMPARE(SoundOn, false);
    QCOMPARE(form_->BackMode(), 3);
    const ShownTable shown = OpenTable();
    QCOMPARE(shown.rows.value(0), (HighscoreEntry{QStringLiteral("Anna"), 900}));
    // Told once at the start, in the language the store holds.
    QCOMPARE(errors_.size(), 1);
    QVERIFY2(errors_.first().contains(QStringLiteral("Einstellungen")) && errors_.first().contains(storeFile_),
             qPrintable(errors_.first()));

    // A new high score cannot be stored in that file: the player is told at
    // OK, in the game's language, with the file's name.
    {
        THighscoreDlg table(form_->ini, form_.get());
        QTimer::singleShot(0, &table, [&table] {
            table.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("Bert"));
            table.OkBtnClick();
        });
        table.ShowModal(1000, false);
    }
    QCOMPARE(errors_.size(), 2);
    QVERIFY2(errors_.last().contains(QStringLiteral("Bestenliste")) && errors_.last().contains(storeFile_),
             qPrintable(errors_.last()));

    // Nothing of the run touches the file.
    form_->Leave();
    form_.reset();
    QFile file(storeFile_);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
}

void HostileStoreTest::goodValuesAmongBadOnesAreKept()
{
    const auto row = [](int score, const char* name) {
        return Encipher(ScoreCipher, HighscoreTable::FormatEntry({QString::fromUtf8(name), score})).toUtf8();
    };
    WriteStore("[common]\n"
               "tongue=1\n"
               "sound=\xff\xfe\n"
               "music=0\n"
               "backmode=\x01\x02\n"
               "MainForm=200,0,1,50,40,750,520\n"
               "player=" + QByteArray(1024 * 1024, 'P') + "\n"
               "hs0=" + row(900, "Anna") + "\n"
               "hs1=\x01\x02\x03\n"
               // quoted, as the store writes a value with commas
               "hs2=\"" + row(500, "J\xc3\xbcrgen, Smith") + "\"\n"
               "hs3=\xc3\x28\xa0\xa1\n"
               "hs4=@Rect(1 2 3 4)\n"
               "hs5=" + row(100, "Bert") + "\n");
    StartGame();
    QCOMPARE(services_->languageAsked, 0);
    QCOMPARE(Tongue, 1);
    QCOMPARE(SoundOn, true);
    QCOMPARE(MusicOn, false);
    QCOMPARE(form_->BackMode(), 0);
    QCOMPARE(form_->normalGeometry().topLeft(), QPoint(50, 40));

    const ShownTable shown = OpenTable();
    QVERIFY(shown.shown);
    QList<HighscoreEntry> expected(HighscoreTable::RowCount, HighscoreTable::EmptyEntry());
    // The damaged rows are left out; the good ones close up in their order.
    expected[0] = {QStringLiteral("Anna"), 900};
    expected[1] = {QString::fromUtf8("Jürgen, Smith"), 500};
    expected[2] = {QStringLiteral("Bert"), 100};
    QCOMPARE(shown.rows, expected);
    QVERIFY(errors_.isEmpty());
}

void HostileStoreTest::absurdPlacementOpensOnTheScreen_data()
{
    QTest::addColumn<QByteArray>("placement");
    QTest::newRow("largest extent") << QByteArray("200,0,1,0,0,16777215,16777215");
    QTest::newRow("a million") << QByteArray("200,0,1,0,0,1000000,1000000");
    QTest::newRow("a hundred thousand") << QByteArray("200,0,1,0,0,100000,100000");
    QTest::newRow("twelve thousand") << QByteArray("200,0,1,0,0,12000,12000");
    QTest::newRow("larger than the screen") << QByteArray("200,0,1,0,0,2560,1440");
    QTest::newRow("far beyond the top left") << QByteArray("200,0,1,-16777215,-16777215,-16777000,-16777000");
    QTest::newRow("a pixel in the bottom right corner") << QByteArray("200,0,1,1279,1023,1280,1024");
    QTest::newRow("lower than it can be, at the bottom") << QByteArray("200,0,1,500,1000,1201,1020");
}

// The window opens on the screen, no larger than the desktop and not below
// its smallest size, and the game draws and plays at that size with memory
// for that size only.
void HostileStoreTest::absurdPlacementOpensOnTheScreen()
{
    QFETCH(QByteArray, placement);
    WriteStore("[common]\ntongue=0\nMainForm=" + placement + "\n");
    const qint64 before = ResidentKiB();
    StartGame();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QCoreApplication::processEvents();

    const QRect desktop = form_->screen()->availableVirtualGeometry();
    const QRect outer = form_->frameGeometry();
    QVERIFY2(desktop.contains(outer), qPrintable(QStringLiteral("window at %1,%2, %3 x %4")
                                                    .arg(outer.x()).arg(outer.y()).arg(outer.width()).arg(outer.height())));
    QVERIFY(outer.width() >= 640 && outer.height() >= 480);

    const BoardGeometry& g = form_->Painter().Geometry();
    form_->boxMouseDown(Qt::LeftButton, g.PreviewLeft + g.CellSize, g.PreviewTop + g.CellSize);
    QVERIFY(form_->Game().InHand());
    form_->Paint();
    const qint64 grown = ResidentKiB() - before;
    QVERIFY2(grown < 256 * 1024, qPrintable(QStringLiteral("%1 KiB more after the start").arg(grown)));
    QVERIFY(errors_.isEmpty());
}

QTEST_MAIN(HostileStoreTest)
#include "test_hostile_store.moc"
