// The high-score window against a real (private) settings store and the
// program's cipher: what it shows, what it writes, and what it leaves alone.
#include "ModalAnswer.h"

#include "assets/DlgRes.h"
#include "cipher/qt/ChiffreQString.h"
#include "settings/Globals.h"
#include "settings/TIniCtrl.h"
#include "ui/HighscoreTable.h"
#include "ui/highscor.h"
#include "ui/toolkit/PictureButton.h"

#include <QAccessible>
#include <QCheckBox>
#include <QScopeGuard>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {
const QString Common = QStringLiteral("common");
const QString Quill = HighscoreTable::EmptyName();

using Rows = QList<HighscoreEntry>;

QString RowKey(int row) { return QStringLiteral("hs%1").arg(row); }

// Fifteen rows: the given ones first, then unused ones.
Rows Padded(Rows rows)
{
    while (rows.size() < HighscoreTable::RowCount)
        rows << HighscoreTable::EmptyEntry();
    return rows;
}

Rows Descending(int from)
{
    Rows rows;
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        rows << HighscoreEntry{QStringLiteral("p%1").arg(row), from - 100 * row};
    return rows;
}

template <class Widget> Widget* Part(QWidget* dialog, const QString& name)
{
    auto* widget = dialog->findChild<Widget*>(name);
    if (!widget)
        qFatal("no part named %s", qPrintable(name));
    return widget;
}

QString LabelText(QWidget* dialog, const QString& prefix, int row)
{
    return Part<QLabel>(dialog, prefix + QString::number(row))->text();
}

Rows ShownRows(QWidget* dialog)
{
    Rows rows;
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        rows << HighscoreEntry{LabelText(dialog, QStringLiteral("pla"), row),
                                LabelText(dialog, QStringLiteral("sco"), row).toInt()};
    return rows;
}

// Types like a keyboard, one key event per character; also characters that
// have no key of their own on a plain keyboard, such as umlauts and emoji.
void Type(QWidget* target, const QString& text)
{
    for (const uint code : text.toUcs4()) {
        const char32_t character = code;
        const QString typed = QString::fromUcs4(&character, 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, typed);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
}

// Works through the name box as a player would: "type <text>", "paste <text>"
// (through the clipboard), "end" and "backspace".
void Edit(QLineEdit* edit, const QStringList& steps)
{
    for (const QString& step : steps) {
        const QString text = step.section(u' ', 1);
        if (step.startsWith(u"type ")) {
            Type(edit, text);
        } else if (step.startsWith(u"paste ")) {
            QGuiApplication::clipboard()->setText(text);
            edit->paste();
        } else if (step == u"end") {
            QTest::keyClick(edit, Qt::Key_End);
        } else if (step == u"backspace") {
            QTest::keyClick(edit, Qt::Key_Backspace);
        } else {
            QFAIL(qPrintable(step));
        }
    }
}

void Click(QWidget* dialog, const QString& button)
{
    auto* target = Part<PictureButton>(dialog, button);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
}
}

class HighscoreDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void showOnlyListsTheStoredTable_data();
    void showOnlyListsTheStoredTable();
    void entryRanksStoresAndReloads_data();
    void entryRanksStoresAndReloads();
    void scoreWithoutPlaceShowsNothing();
    void damagedRowNeverPushesOutAValidOne();
    void anotherCopyStoresWhileTheTableIsOpen_data();
    void anotherCopyStoresWhileTheTableIsOpen();
    void nameRules_data();
    void nameRules();
    void storedNamesAreDrawnAsPlainText();
    void closingWithoutOkWritesNothing_data();
    void closingWithoutOkWritesNothing();
    void returnKeyStoresTheEntry();
    void endOfTheGameKeepsTheEntryAsTyped();
    void clearingDropsEverythingAndTheNewScore();
    void storedRowsAreEnciphered();
    void lastNameIsProposedAfterRestart();
    void otherPrefixAndLowerFirst();
    void secondShowingWhileOpenIsIgnored();
    void textsFollowTheLanguage_data();
    void textsFollowTheLanguage();
    void placedOverTheMainWindow();
    void keysStayWhereThePlayerTypes();

private:
    void StoreRows(const Rows& rows);
    void StoreRaw(int row, const QString& value);
    Rows StoredRows(const QString& prefix = QStringLiteral("hs")) const;
    QStringList RawKeys() const;

    TIniCtrl ini_;
    std::unique_ptr<THighscoreDlg> dialog_;
};

void HighscoreDialogTest::initTestCase()
{
    DlgResources = new TDlgResources;
    Init(ScoreCipher, QString(), 0);
}

void HighscoreDialogTest::init()
{
    ini_.DeleteKey(Common, QStringLiteral("player"));
    for (const QString& prefix : {QStringLiteral("hs"), QStringLiteral("low")})
        for (int row = 0; row < HighscoreTable::RowCount; ++row)
            ini_.DeleteKey(Common, prefix + QString::number(row));
    Tongue = 0;
}

void HighscoreDialogTest::cleanup()
{
    dialog_.reset();
}

void HighscoreDialogTest::StoreRows(const Rows& rows)
{
    for (int row = 0; row < rows.size(); ++row)
        StoreRaw(row, Encipher(ScoreCipher, HighscoreTable::FormatEntry(rows[row])));
}

void HighscoreDialogTest::StoreRaw(int row, const QString& value)
{
    ini_.WriteString(Common, RowKey(row), value);
}

Rows HighscoreDialogTest::StoredRows(const QString& prefix) const
{
    Rows rows;
    for (int row = 0; row < HighscoreTable::RowCount; ++row) {
        const QString raw = ini_.ReadString(Common, prefix + QString::number(row), QString());
        rows << HighscoreTable::ParseEntry(Decipher(ScoreCipher, raw)).value_or(HighscoreTable::EmptyEntry());
    }
    return rows;
}

// "player" and the fifteen row keys exactly as stored (missing ones marked).
QStringList HighscoreDialogTest::RawKeys() const
{
    const QString missing = QStringLiteral("<missing>");
    QStringList raw{ini_.ReadString(Common, QStringLiteral("player"), missing)};
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        raw << ini_.ReadString(Common, RowKey(row), missing);
    return raw;
}

void HighscoreDialogTest::showOnlyListsTheStoredTable_data()
{
    QTest::addColumn<Rows>("stored");
    QTest::addColumn<QString>("damagedRaw"); // stored over row 3 when not empty
    QTest::addColumn<Rows>("shown");

    QTest::newRow("empty store") << Rows{} << QString() << Padded({});
    QTest::newRow("full table") << Descending(1500) << QString() << Descending(1500);
    // A hand-edited row must not lock the player out of the table, nor leave
    // a hole in it.
    Rows closedUp = Descending(1500);
    closedUp.removeAt(3);
    QTest::newRow("row without comma") << Descending(1500) << Encipher(ScoreCipher, QStringLiteral("Anna"))
                                       << Padded(closedUp);
    QTest::newRow("row without number") << Descending(1500) << Encipher(ScoreCipher, QStringLiteral("x1,Anna"))
                                        << Padded(closedUp);
}

void HighscoreDialogTest::showOnlyListsTheStoredTable()
{
    QFETCH(Rows, stored);
    QFETCH(QString, damagedRaw);
    QFETCH(Rows, shown);
    StoreRows(stored);
    if (!damagedRaw.isEmpty())
        StoreRaw(3, damagedRaw);
    const QStringList before = RawKeys();
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);

    ModalAnswer answer([&](QWidget* dialog) {
        QVERIFY(dialog_->IsShowing());
        for (int row = 0; row < HighscoreTable::RowCount; ++row)
            QCOMPARE(LabelText(dialog, QStringLiteral("num"), row), QStringLiteral("%1.   ").arg(row + 1));
        QCOMPARE(ShownRows(dialog), shown);
        QVERIFY(!Part<QLineEdit>(dialog, QStringLiteral("Edit1"))->isVisible());
        QVERIFY(!Part<PictureButton>(dialog, QStringLiteral("CancelBtn"))->isVisible());
        Click(dialog, QStringLiteral("OkBtn"));
    });
    dialog_->ShowModal(12345, true);

    QVERIFY(answer.Seen());
    QVERIFY(!dialog_->IsShowing());
    // Only looking writes nothing.
    QCOMPARE(RawKeys(), before);
}

void HighscoreDialogTest::entryRanksStoresAndReloads_data()
{
    QTest::addColumn<Rows>("stored");
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("entryRow");
    QTest::addColumn<Rows>("after");

    const auto entry = [](const char* name, int score) { return HighscoreEntry{QString::fromUtf8(name), score}; };

    QTest::newRow("empty store") << Rows{} << 10 << "Anna" << 0 << Padded({entry("Anna", 10)});
    const Rows ties{entry("a", 900), entry("b", 500), entry("c", 500), entry("d", 100)};
    QTest::newRow("below equal scores")
        << ties << 500 << "Eve" << 3
        << Padded({entry("a", 900), entry("b", 500), entry("c", 500), entry("Eve", 500), entry("d", 100)});
    Rows lastReplaced = Descending(1500);
    lastReplaced[14] = entry("Last", 150);
    QTest::newRow("beats the last row") << Descending(1500) << 150 << "Last" << 14 << lastReplaced;
    Rows allMoved = Descending(1500);
    allMoved.prepend(entry("Top", 9999));
    allMoved.removeLast();
    QTest::newRow("beats the first row") << Descending(1500) << 9999 << "Top" << 0 << allMoved;
    QTest::newRow("name with commas") << Rows{entry("a", 50)} << 70 << "Smith, J., 3rd" << 0
                                      << Padded({entry("Smith, J., 3rd", 70), entry("a", 50)});
    QTest::newRow("umlauts and blanks") << Rows{} << 5 << "Jörg Müller" << 0 << Padded({entry("Jörg Müller", 5)});
}

void HighscoreDialogTest::entryRanksStoresAndReloads()
{
    QFETCH(Rows, stored);
    QFETCH(int, score);
    QFETCH(QString, typed);
    QFETCH(int, entryRow);
    QFETCH(Rows, after);
    StoreRows(stored);
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);

    ModalAnswer answer([&](QWidget* dialog) {
        QCOMPARE(dialog_->EntryRow(), entryRow);
        auto* edit = Part<QLineEdit>(dialog, QStringLiteral("Edit1"));
        QVERIFY(edit->isVisible());
        QCOMPARE(dialog->focusWidget(), edit);
        QCOMPARE(edit->geometry(), QRect(50, 10 + 21 * entryRow, 140, 17));
        // The remembered name is proposed, shown in the new row, and replaced by typing.
        QCOMPARE(edit->text(), QStringLiteral("Mr.Quill"));
        QCOMPARE(LabelText(dialog, QStringLiteral("pla"), entryRow), QStringLiteral("Mr.Quill"));
        QCOMPARE(LabelText(dialog, QStringLiteral("sco"), entryRow), QString::number(score));
        QVERIFY(Part<PictureButton>(dialog, QStringLiteral("CancelBtn"))->isVisible());
        Type(edit, typed);
        Click(dialog, QStringLiteral("OkBtn"));
    });
    dialog_->ShowModal(score, false);
    QVERIFY(answer.Seen());

    QCOMPARE(StoredRows(), after);
    QCOMPARE(ini_.ReadString(Common, QStringLiteral("player"), QString()), typed);

    // Reloaded by the next showing exactly as stored.
    ModalAnswer reload([&](QWidget* dialog) {
        QCOMPARE(ShownRows(dialog), after);
        Click(dialog, QStringLiteral("OkBtn"));
    });
    dialog_->ShowModal(0, true);
    QVERIFY(reload.Seen());
    QCOMPARE(StoredRows(), after);
}

void HighscoreDialogTest::scoreWithoutPlaceShowsNothing()
{
    StoreRows(Descending(1500));
    const QStringList before = RawKeys();
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);

    for (int score : {0, -20, 100}) {
        ModalAnswer answer([](QWidget*) {});
        dialog_->ShowModal(score, false);
        QVERIFY2(!answer.Seen(), qPrintable(QString::number(score)));
        QCOMPARE(dialog_->EntryRow(), -1);
    }
    QCOMPARE(RawKeys(), before);
}

void HighscoreDialogTest::damagedRowNeverPushesOutAValidOne()
{
    Rows stored;
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        stored << HighscoreEntry{QStringLiteral("Keep%1").arg(row), 1500 - 100 * row};
    StoreRows(stored);
    ini_.WriteString(Common, RowKey(3), QStringLiteral("@Rect(1 2 3 4)"));
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);

    // The rows below the damaged one move up, and the new results take the
    // freed last place in turn, never one above better scores.
    Rows expected = stored;
    expected.removeAt(3);
    for (int score : {48, 49, 47}) {
        ModalAnswer answer([&](QWidget* dialog) {
            QCOMPARE(dialog_->EntryRow(), 14);
            Type(Part<QLineEdit>(dialog, QStringLiteral("Edit1")), QStringLiteral("New"));
            Click(dialog, QStringLiteral("OkBtn"));
        });
        dialog_->ShowModal(score, false);
        QCOMPARE(answer.Seen(), score != 47);
        if (score == 47)
            continue;
        expected = expected.mid(0, 14) << HighscoreEntry{QStringLiteral("New"), score};
        QCOMPARE(StoredRows(), expected);
    }
    QCOMPARE(StoredRows()[13], (HighscoreEntry{QStringLiteral("Keep14"), 100}));
}

void HighscoreDialogTest::anotherCopyStoresWhileTheTableIsOpen_data()
{
    QTest::addColumn<bool>("showOnly");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<Rows>("after");
    const auto entry = [](const char* name, int score) { return HighscoreEntry{QString::fromUtf8(name), score}; };
    const Rows stored{entry("a", 900), entry("b", 500), entry("c", 100)};
    QTest::newRow("only looking") << true << false << Padded(stored + Rows{entry("Bert", 72)});
    QTest::newRow("entering a result")
        << false << false << Padded(stored + Rows{entry("Bert", 72), entry("Anna", 50)});
    QTest::newRow("removing all") << true << true << Padded({});
}

// Two copies of the game: A opens the table, B stores a result of 72 while
// A's window is open, then A presses OK.
void HighscoreDialogTest::anotherCopyStoresWhileTheTableIsOpen()
{
    QFETCH(bool, showOnly);
    QFETCH(bool, clear);
    QFETCH(Rows, after);
    const Rows stored{{QStringLiteral("a"), 900}, {QStringLiteral("b"), 500}, {QStringLiteral("c"), 100}};
    StoreRows(stored);
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);
    TIniCtrl otherIni;
    THighscoreDlg other(otherIni, nullptr);

    ModalAnswer answer([&](QWidget* dialog) {
        ModalAnswer otherAnswer([&](QWidget* otherDialog) {
            QCOMPARE(otherDialog, &other);
            Type(Part<QLineEdit>(otherDialog, QStringLiteral("Edit1")), QStringLiteral("Bert"));
            Click(otherDialog, QStringLiteral("OkBtn"));
        });
        other.ShowModal(72, false);
        QVERIFY(otherAnswer.Seen());

        // A's window still shows the table as it was read.
        QCOMPARE(ShownRows(dialog).mid(0, 3), stored);
        if (!showOnly)
            Type(Part<QLineEdit>(dialog, QStringLiteral("Edit1")), QStringLiteral("Anna"));
        Part<QCheckBox>(dialog, QStringLiteral("ClearBox"))->setChecked(clear);
        Click(dialog, QStringLiteral("OkBtn"));
    });
    dialog_->ShowModal(50, showOnly);
    QVERIFY(answer.Seen());
    QCOMPARE(StoredRows(), after);
}

void HighscoreDialogTest::nameRules_data()
{
    QTest::addColumn<QString>("player"); // the stored name proposed for the entry
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("stored");

    const QString letters25 = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY");
    QString emoji13;
    for (int i = 0; i < 13; ++i)
        emoji13 += QString::fromUtf8("\U0001F600");
    const QString long30 = letters25 + QStringLiteral("abcde");

    QTest::newRow("25 characters, no 26th") << "Mr.Quill" << QStringList{"type " + letters25 + "Z"} << letters25;
    // 13 emoji are 26 UTF-16 units but 13 characters.
    QTest::newRow("13 emoji kept whole") << "Mr.Quill" << QStringList{"type " + emoji13} << emoji13;
    QTest::newRow("emoji as the 26th character") << "Mr.Quill" << QStringList{"type " + letters25 + emoji13.left(2)}
                                                 << letters25;
    QTest::newRow("pasted line break refused") << "Mr.Quill" << QStringList{"type Anna", "paste \nBerta"}
                                               << "Anna";
    QTest::newRow("pasted control characters refused")
        << "Mr.Quill" << QStringList{"type Anna", "paste B\x1b[31mC", "paste \tD", "paste E\u2028F", "paste !"}
        << "Anna!";
    QTest::newRow("long stored name kept when nothing is typed") << long30 << QStringList{} << long30;
    QTest::newRow("long stored name does not grow") << long30 << QStringList{"end", "type X"} << long30;
    QTest::newRow("long stored name shortened, not grown again")
        << long30 << QStringList{"end", "backspace", "backspace", "type X"} << long30.left(28);
}

void HighscoreDialogTest::nameRules()
{
    QFETCH(QString, player);
    QFETCH(QStringList, steps);
    QFETCH(QString, stored);
    ini_.WriteString(Common, QStringLiteral("player"), player);
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);

    ModalAnswer answer([&](QWidget* dialog) {
        auto* edit = Part<QLineEdit>(dialog, QStringLiteral("Edit1"));
        QCOMPARE(edit->text(), player);
        Edit(edit, steps);
        Click(dialog, QStringLiteral("OkBtn"));
    });
    dialog_->ShowModal(10, false);
    QVERIFY(answer.Seen());
    QCOMPARE(StoredRows().first(), (HighscoreEntry{stored, 10}));
    QCOMPARE(ini_.ReadString(Common, QStringLiteral("player"), QString()), stored);
}

// Names stored by hand or by an older version may hold line breaks or look
// like markup: each row stays on its line, and shows its text as it is.
void HighscoreDialogTest::storedNamesAreDrawnAsPlainText()
{
    StoreRows({{QStringLiteral("Anna\nBerta"), 900}, {QStringLiteral("<b>Bold</b>"), 800}});
    ini_.WriteString(Common, QStringLiteral("player"), QStringLiteral("Cleo\r\nDora"));
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);

    ModalAnswer answer([&](QWidget* dialog) {
        QCOMPARE(LabelText(dialog, QStringLiteral("pla"), 0), QStringLiteral("Anna Berta"));
        auto* markup = Part<QLabel>(dialog, QStringLiteral("pla1"));
        QCOMPARE(markup->text(), QStringLiteral("<b>Bold</b>"));
        QCOMPARE(markup->textFormat(), Qt::PlainText);
        QCOMPARE(Part<QLineEdit>(dialog, QStringLiteral("Edit1"))->text(), QStringLiteral("Cleo  Dora"));
        Click(dialog, QStringLiteral("OkBtn"));
    });
    dialog_->ShowModal(700, false);
    QVERIFY(answer.Seen());
    // The rows kept are stored as they were.
    QCOMPARE(StoredRows().first().Name, QStringLiteral("Anna\nBerta"));
}

void HighscoreDialogTest::closingWithoutOkWritesNothing_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::addColumn<bool>("showOnly");
    QTest::newRow("cancel button, entry") << false << false;
    QTest::newRow("escape, entry") << true << false;
    QTest::newRow("escape, show-only") << true << true;
}

void HighscoreDialogTest::closingWithoutOkWritesNothing()
{
    QFETCH(bool, byEscape);
    QFETCH(bool, showOnly);
    StoreRows(Descending(1500));
    ini_.WriteString(Common, QStringLiteral("player"), QStringLiteral("Anna"));
    const QStringList before = RawKeys();
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);

    ModalAnswer answer([&](QWidget* dialog) {
        auto* edit = Part<QLineEdit>(dialog, QStringLiteral("Edit1"));
        if (!showOnly)
            Type(edit, QStringLiteral("Bert"));
        // Even a ticked "remove all" is dropped when the window is not confirmed.
        Part<QCheckBox>(dialog, QStringLiteral("ClearBox"))->setChecked(true);
        if (byEscape)
            QTest::keyClick(showOnly ? dialog : edit, Qt::Key_Escape);
        else
            Click(dialog, QStringLiteral("CancelBtn"));
        QVERIFY(!dialog->isVisible());
    });
    dialog_->ShowModal(1450, showOnly);
    QVERIFY(answer.Seen());
    QCOMPARE(RawKeys(), before);

    // The dropped entry is gone from the next showing too.
    ModalAnswer again([&](QWidget* dialog) {
        QCOMPARE(ShownRows(dialog), Descending(1500));
        QVERIFY(!Part<QCheckBox>(dialog, QStringLiteral("ClearBox"))->isChecked());
        Click(dialog, QStringLiteral("OkBtn"));
    });
    dialog_->ShowModal(0, true);
    QVERIFY(again.Seen());
}

// A logout or a signal while the name is typed: the new score is kept with
// the name so far, the "remove all" tick is not carried out.
void HighscoreDialogTest::endOfTheGameKeepsTheEntryAsTyped()
{
    StoreRows(Descending(1500));
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);
    ModalAnswer answer([&](QWidget* dialog) {
        Type(Part<QLineEdit>(dialog, QStringLiteral("Edit1")), QStringLiteral("Bert"));
        Part<QCheckBox>(dialog, QStringLiteral("ClearBox"))->setChecked(true);
        dialog_->KeepEntryAtEnd();
        QVERIFY(!dialog->isVisible());
    });
    dialog_->ShowModal(1450, false);
    QVERIFY(answer.Seen());
    Rows expected = Descending(1500);
    expected.insert(1, HighscoreEntry{QStringLiteral("Bert"), 1450});
    expected.removeLast();
    QCOMPARE(StoredRows(), expected);

    // Only looking at the table: nothing to keep, nothing written.
    const QStringList before = RawKeys();
    ModalAnswer look([&](QWidget* dialog) {
        dialog_->KeepEntryAtEnd();
        QVERIFY(dialog->isVisible());
        Click(dialog, QStringLiteral("OkBtn"));
    });
    dialog_->ShowModal(0, true);
    QVERIFY(look.Seen());
    QCOMPARE(RawKeys(), before);
}

void HighscoreDialogTest::returnKeyStoresTheEntry()
{
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);
    ModalAnswer answer([&](QWidget* dialog) {
        auto* edit = Part<QLineEdit>(dialog, QStringLiteral("Edit1"));
        Type(edit, QStringLiteral("Cleo"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
    });
    dialog_->ShowModal(42, false);
    QVERIFY(answer.Seen());
    QCOMPARE(StoredRows().first(), (HighscoreEntry{QStringLiteral("Cleo"), 42}));
}

void HighscoreDialogTest::clearingDropsEverythingAndTheNewScore()
{
    StoreRows(Descending(1500));
    ini_.WriteString(Common, QStringLiteral("player"), QStringLiteral("Anna"));
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);

    ModalAnswer answer([&](QWidget* dialog) {
        Type(Part<QLineEdit>(dialog, QStringLiteral("Edit1")), QStringLiteral("Bert"));
        Part<QCheckBox>(dialog, QStringLiteral("ClearBox"))->setChecked(true);
        Click(dialog, QStringLiteral("OkBtn"));
        QCOMPARE(ShownRows(dialog), Padded({}));
    });
    dialog_->ShowModal(5000, false);
    QVERIFY(answer.Seen());

    QCOMPARE(ini_.ReadString(Common, QStringLiteral("player"), QString()), Quill);
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        QCOMPARE(ini_.ReadString(Common, RowKey(row), QString()), Encipher(ScoreCipher, QStringLiteral("0,Mr. Quill")));
}

void HighscoreDialogTest::storedRowsAreEnciphered()
{
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);
    ModalAnswer answer([&](QWidget* dialog) {
        Type(Part<QLineEdit>(dialog, QStringLiteral("Edit1")), QStringLiteral("Anna"));
        Click(dialog, QStringLiteral("OkBtn"));
    });
    dialog_->ShowModal(1520, false);
    QVERIFY(answer.Seen());

    const QString plain = QStringLiteral("1520,Anna");
    const QString raw = ini_.ReadString(Common, QStringLiteral("hs0"), QString());
    QCOMPARE(raw.size(), plain.size());
    QVERIFY2(raw != plain, qPrintable(raw));
    QCOMPARE(raw.at(4), u','); // outside the cipher's alphabet
    QCOMPARE(Decipher(ScoreCipher, raw), plain);
    // The player name is kept plain.
    QCOMPARE(ini_.ReadString(Common, QStringLiteral("player"), QString()), QStringLiteral("Anna"));
}

void HighscoreDialogTest::lastNameIsProposedAfterRestart()
{
    ini_.WriteString(Common, QStringLiteral("player"), QStringLiteral("Dora"));
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);

    for (const QString& next : {QStringLiteral("Emil"), QStringLiteral("Fritz")}) {
        ModalAnswer answer([&](QWidget* dialog) {
            auto* edit = Part<QLineEdit>(dialog, QStringLiteral("Edit1"));
            QCOMPARE(edit->text(), dialog_->PlayerName());
            Type(edit, next);
            Click(dialog, QStringLiteral("OkBtn"));
        });
        dialog_->ShowModal(100, false);
        QVERIFY(answer.Seen());
        QCOMPARE(dialog_->PlayerName(), next);
        dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr); // a new program run
        QCOMPARE(dialog_->PlayerName(), next);
    }
}

void HighscoreDialogTest::otherPrefixAndLowerFirst()
{
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);
    dialog_->SetINIString(QStringLiteral("low"));
    dialog_->SetDirection(1);
    for (int score : {30, 10, 20}) {
        ModalAnswer answer([&](QWidget* dialog) { Click(dialog, QStringLiteral("OkBtn")); });
        dialog_->ShowModal(score, false);
        QVERIFY(answer.Seen());
    }
    const auto player = [](int score) { return HighscoreEntry{QStringLiteral("Mr.Quill"), score}; };
    QCOMPARE(StoredRows(QStringLiteral("low")), Padded({player(10), player(20), player(30)}));
    QCOMPARE(ini_.ReadString(Common, RowKey(0), QStringLiteral("<missing>")), QStringLiteral("<missing>"));
}

void HighscoreDialogTest::secondShowingWhileOpenIsIgnored()
{
    StoreRows(Descending(1500));
    const QStringList before = RawKeys();
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);

    ModalAnswer answer([&](QWidget* dialog) {
        // A time-out offering a score while the table is open for looking.
        dialog_->ShowModal(99999, false);
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog_->ShowOnly());
        QCOMPARE(dialog_->EntryRow(), -1);
        QCOMPARE(ShownRows(dialog), Descending(1500));
        Click(dialog, QStringLiteral("OkBtn"));
    });
    dialog_->ShowModal(0, true);
    QVERIFY(answer.Seen());
    QCOMPARE(RawKeys().mid(1), before.mid(1)); // OK stored the unchanged rows
}

void HighscoreDialogTest::textsFollowTheLanguage_data()
{
    QTest::addColumn<int>("tongue");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("delcheck");
    QTest::newRow("German") << 1 << "Tangrix - Bestenliste" << QString::fromUtf8("alle Einträge löschen");
    QTest::newRow("English") << 0 << "Tangrix - Highscore" << "remove all entries";
    QTest::newRow("not yet chosen") << -1 << "Tangrix - Highscore" << "remove all entries";
}

void HighscoreDialogTest::textsFollowTheLanguage()
{
    QFETCH(int, tongue);
    QFETCH(QString, title);
    QFETCH(QString, delcheck);
    Tongue = tongue;
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);
    ModalAnswer answer([&](QWidget* dialog) {
        QCOMPARE(Part<QLabel>(dialog, QStringLiteral("title"))->text(), title);
        QCOMPARE(Part<QLabel>(dialog, QStringLiteral("delcheck"))->text(), delcheck);
        // What a screen reader says: the window by its title, the box (whose
        // own caption is a blank) by the label beside it.
        QCOMPARE(QAccessible::queryAccessibleInterface(dialog)->text(QAccessible::Name), title);
        auto* box = Part<QCheckBox>(dialog, QStringLiteral("ClearBox"));
        QCOMPARE(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name), delcheck);
        QCOMPARE(Part<QLabel>(dialog, QStringLiteral("delcheck"))->buddy(), box);
        Click(dialog, QStringLiteral("OkBtn"));
    });
    dialog_->ShowModal(0, true);
    QVERIFY(answer.Seen());
}

void HighscoreDialogTest::placedOverTheMainWindow()
{
    QWidget main;
    main.setGeometry(100, 80, 701, 462);
    main.show();
    dialog_ = std::make_unique<THighscoreDlg>(ini_, &main);
    // The dialog is the main window's child: it goes first.
    const auto release = qScopeGuard([this] { dialog_.reset(); });
    dialog_->FormActivate();
    const QRect frame = main.frameGeometry();
    QCOMPARE(dialog_->pos(), QPoint(frame.left() + (frame.width() - 320) / 2,
                                    frame.top() + (frame.height() - 476) / 2 - 2));
    QCOMPARE(dialog_->size(), QSize(320, 476));
}

// Shown by its button, the table takes Space as OK, never as a tick in
// "remove all entries"; in entry mode a click on that box leaves the keys in
// the name being typed.
void HighscoreDialogTest::keysStayWhereThePlayerTypes()
{
    StoreRows(Descending(1500));
    dialog_ = std::make_unique<THighscoreDlg>(ini_, nullptr);
    ModalAnswer shownOnly([&](QWidget* dialog) {
        QWidget* focused = dialog->focusWidget();
        QVERIFY(focused);
        QTest::keyClick(focused, Qt::Key_Space);
        QVERIFY(!dialog->isVisible());
    });
    dialog_->ShowModal(0, true);
    QVERIFY(shownOnly.Seen());
    QCOMPARE(StoredRows(), Descending(1500));

    ModalAnswer entry([&](QWidget* dialog) {
        auto* clear = Part<QCheckBox>(dialog, QStringLiteral("ClearBox"));
        QTest::mouseClick(clear, Qt::LeftButton, {}, clear->rect().center());
        QTest::mouseClick(clear, Qt::LeftButton, {}, clear->rect().center());
        QVERIFY(!clear->isChecked());
        QWidget* focused = dialog->focusWidget();
        QCOMPARE(focused, Part<QLineEdit>(dialog, QStringLiteral("Edit1")));
        Type(focused, QStringLiteral("Dora"));
        QTest::keyClick(focused, Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
    });
    dialog_->ShowModal(1450, false);
    QVERIFY(entry.Seen());
    QCOMPARE(StoredRows()[1], (HighscoreEntry{QStringLiteral("Dora"), 1450}));
}

QTEST_MAIN(HighscoreDialogTest)
#include "test_highscore_dialog.moc"
