#include "ui/highscor.h"

#include "assets/DlgRes.h"
#include "cipher/qt/ChiffreQString.h"
#include "settings/Globals.h"
#include "settings/SettingKeys.h"
#include "settings/TIniCtrl.h"
#include "ui/DialogBuilder.h"
#include "ui/HighscoreName.h"
#include "ui/toolkit/DialogPlacement.h"
#include "ui/toolkit/DragToMove.h"
#include "ui/toolkit/PictureButton.h"
#include "ui/toolkit/TexturedPanel.h"
#include "ui/toolkit/ToolkitFonts.h"
#include "ui/toolkit/WindowSystem.h"

#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

THighscoreDlg* HighscoreDlg = nullptr;

namespace {

constexpr int RowTop = 10;
constexpr int RowHeight = 21;

int RowY(int row) { return RowTop + RowHeight * row; }

HighscoreTable Deciphered(const QStringList& storedRows)
{
    QStringList plain;
    for (const QString& stored : storedRows)
        plain << Decipher(ScoreCipher, stored);
    return HighscoreTable::FromStoredRows(plain);
}
}

THighscoreDlg::THighscoreDlg(TIniCtrl& ini, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint), ini_(ini), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("HighscoreDlg"));
    BuildLayout();
    new DragToMove(this);
    Create();
}

void THighscoreDlg::BuildLayout()
{
    setFont(CaptionFont(15, true));

    BackPanel2 = MakeBackPanel(*this, QStringLiteral("BackPanel2"), {320, 476});

    // The inner panels lie over the outer one in this order.
    p6 = MakePanel(this, QStringLiteral("p6"), PanelGrade::Inner, {11, 380, 298, 29});
    ClearBox = new QCheckBox(QStringLiteral(" "), p6);
    ClearBox->setObjectName(QStringLiteral("ClearBox"));
    ClearBox->setGeometry(16, 7, 17, 17);
    // Ticked by a click, the box leaves the keys with the name being typed.
    ClearBox->setFocusPolicy(Qt::TabFocus);
    delcheck = MakeCaption(p6, QStringLiteral("delcheck"), {40, 8, 245, 17}, ArialFont(13));
    delcheck->setText(QStringLiteral("xxx"));
    // The box's own caption is a blank: the label beside it is its text.
    delcheck->setBuddy(ClearBox);

    BackPanel1 = MakePanel(this, QStringLiteral("BackPanel1"), PanelGrade::Inner, {11, 12, 298, 33});
    title = MakeCaption(BackPanel1, QStringLiteral("title"), {12, 4, 273, 25}, ArialFont(19, true),
                        Qt::AlignCenter);
    title->setText(QStringLiteral("title"));

    EditBack = MakePanel(this, QStringLiteral("EditBack"), PanelGrade::Inner, {11, 48, 298, 329});
    Edit1 = new QLineEdit(EditBack);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(52, 84, 177, 21);
    Edit1->setFrame(false);
    nameRule_ = new HighscoreNameValidator(Edit1);
    Edit1->setFont(ArialFont(13, true));
    Edit1->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    QPalette editColours = Edit1->palette();
    editColours.setColor(QPalette::Base, Qt::black);
    editColours.setColor(QPalette::Text, Qt::yellow);
    Edit1->setPalette(editColours);
    // The program's hint style sheet makes every widget draw by style sheet,
    // which would paint over the palette: say the colours here too.
    Edit1->setStyleSheet(QStringLiteral(
        "QLineEdit { background-color: black; color: yellow; border: none;"
        " selection-background-color: yellow; selection-color: black; }"));
    Edit1->hide();

    const BitmapList& dlgs = DlgResources->dlgs;
    CancelBtn = MakePictureButton(BackPanel2, QStringLiteral("CancelBtn"), {204, 416}, dlgs, CrossUp, CrossOver);
    OkBtn = MakePictureButton(BackPanel2, QStringLiteral("OkBtn"), {260, 416}, dlgs, TickUp, TickOver);
    CancelBtn->SetShowHint(false);
    OkBtn->SetShowHint(false);
    connect(CancelBtn, &QAbstractButton::clicked, this, &THighscoreDlg::CancelBtnClick);
    connect(OkBtn, &QAbstractButton::clicked, this, &THighscoreDlg::OkBtnClick);
}

void THighscoreDlg::Create()
{
    iniPrefix_ = SettingKey::HighscoreRowPrefix();
    direction_ = 0;
    playerName_ = ini_.ReadString(CommonSection(), SettingKey::Player(), SettingDefault::Player());
    nameRule_->Propose(playerName_);
    MakeRowLabels();
}

void THighscoreDlg::MakeRowLabels()
{
    const QFont font = ArialFont(13);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignTop;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop;
    for (int row = 0; row < HighscoreTable::RowCount; ++row) {
        QLabel* number = MakeCaption(EditBack, QStringLiteral("num%1").arg(row), {10, RowY(row), 40, RowHeight},
                                     font, right);
        number->setText(QStringLiteral("%1.   ").arg(row + 1));
    }
    // Names are shown as typed, never read as markup.
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        MakeCaption(EditBack, QStringLiteral("pla%1").arg(row), {50, RowY(row), 140, RowHeight}, font, left)
            ->setTextFormat(Qt::PlainText);
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        MakeCaption(EditBack, QStringLiteral("sco%1").arg(row), {190, RowY(row), 90, RowHeight}, font, right);
    // The edit box must lie over the name labels, which were made after it.
    Edit1->raise();
}

void THighscoreDlg::SetDirection(int value)
{
    direction_ = value;
}

void THighscoreDlg::SetINIString(const QString& value)
{
    iniPrefix_ = value;
}

bool THighscoreDlg::IsShowing() const
{
    return isVisible();
}

QStringList THighscoreDlg::RowKeys() const
{
    QStringList keys;
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        keys << iniPrefix_ + QString::number(row);
    return keys;
}

QLabel* THighscoreDlg::RowLabel(const QString& prefix, int row) const
{
    return EditBack->findChild<QLabel*>(prefix + QString::number(row), Qt::FindDirectChildrenOnly);
}

void THighscoreDlg::ShowModal(int score, bool showOnly)
{
    if (IsShowing())
        return;

    showOnly_ = showOnly;
    CancelBtn->setVisible(!showOnly_);
    ClearBox->setChecked(false);
    LoadTable();

    if (showOnly_) {
        entryRow_ = -1;
        Edit1->hide();
        ShowRows();
        // Not the clear box: a stray Space must not tick "remove all entries".
        OkBtn->setFocus();
        exec();
        return;
    }

    entryRow_ = table_.Rank(score, direction_);
    if (entryRow_ < 0)
        return;
    entryScore_ = score;
    table_.Insert(entryRow_, {playerName_, score});
    ShowRows();
    OpenEntryRow();
    exec();
}

void THighscoreDlg::LoadTable()
{
    QStringList stored;
    for (const QString& key : RowKeys())
        stored << ini_.ReadString(CommonSection(), key, QString());
    table_ = Deciphered(stored);
}

void THighscoreDlg::ShowRows()
{
    for (int row = 0; row < HighscoreTable::RowCount; ++row) {
        RowLabel(QStringLiteral("pla"), row)->setText(DrawableName(table_.Row(row).Name));
        RowLabel(QStringLiteral("sco"), row)->setText(QString::number(table_.Row(row).Score));
    }
}

void THighscoreDlg::OpenEntryRow()
{
    Edit1->setGeometry(50, RowY(entryRow_), 140, 17);
    nameRule_->Propose(playerName_);
    Edit1->setEnabled(true);
    Edit1->show();
    // The proposed name is selected, so typing replaces it.
    Edit1->selectAll();
    Edit1->setFocus();
}

void THighscoreDlg::OkBtnClick()
{
    const bool clear = ClearBox->isChecked();
    if (clear) {
        table_.Clear();
        ShowRows();
        playerName_ = HighscoreTable::EmptyName();
        nameRule_->Propose(playerName_);
        entryRow_ = -1; // the result being entered goes as well
    }
    if (entryRow_ >= 0) {
        playerName_ = Edit1->text();
        table_.SetName(entryRow_, playerName_);
        RowLabel(QStringLiteral("pla"), entryRow_)->setText(playerName_);
    }
    Edit1->hide();
    // Only looking stores nothing: writing back the copy read when the window
    // opened would wipe out a result another copy of the game stored since.
    if (clear || entryRow_ >= 0)
        StoreChanges(clear);
    accept();
}

void THighscoreDlg::StoreChanges(bool clear)
{
    const QStringList rowKeys = RowKeys();
    ini_.UpdateStrings(CommonSection(), QStringList{SettingKey::Player()} + rowKeys, [&](const QStringList& stored) {
        // The new entry goes into the table as it is stored now.
        table_ = Deciphered(stored.mid(1));
        if (clear) {
            table_.Clear();
        } else {
            const int row = table_.Rank(entryScore_, direction_);
            if (row >= 0)
                table_.Insert(row, {playerName_, entryScore_});
        }
        // The name and the changed rows are written together, in one write
        // of the store: a crash in the middle cannot leave half a table, in
        // which the rows shifted down for the new entry would drop a score.
        QList<std::pair<QString, QString>> changes{{SettingKey::Player(), playerName_}};
        for (int row = 0; row < HighscoreTable::RowCount; ++row) {
            const QString text = Encipher(ScoreCipher, HighscoreTable::FormatEntry(table_.Row(row)));
            if (text != stored[row + 1])
                changes.append({rowKeys[row], text});
        }
        return changes;
    }, [](const QString& storeFile) {
        // Said at OK, where the player expects the entry to be kept, and in
        // the game's language, with the file to look at.
        return Lang(QString::fromUtf8("Die Bestenliste konnte nicht gespeichert werden.\nDatei: %1"),
                    QStringLiteral("The high-score table could not be stored.\nFile: %1"))
            .arg(QDir::toNativeSeparators(storeFile));
    });
}

void THighscoreDlg::CancelBtnClick()
{
    reject();
}

void THighscoreDlg::KeepEntryAtEnd()
{
    if (!isVisible() || showOnly_ || entryRow_ < 0)
        return;
    ClearBox->setChecked(false);
    OkBtnClick();
}

void THighscoreDlg::FormActivate()
{
    CentreDialog(*this, mainWindow_, DialogSpot::OverMainWindowRaised);
    title->setText(Lang(QStringLiteral("Tangrix - Bestenliste"), QStringLiteral("Tangrix - Highscore")));
    delcheck->setText(Lang(QStringLiteral("alle Einträge löschen"), QStringLiteral("remove all entries")));
    CancelBtn->SetHint(Lang(QStringLiteral("Abbrechen"), QStringLiteral("Cancel")));
    OkBtn->SetHint(Lang(QStringLiteral("In Liste aufnehmen"), QStringLiteral("put in list")));

    // For screen readers: the window by its title, the box by its label.
    setWindowTitle(title->text());
    ClearBox->setAccessibleName(delcheck->text());
    Edit1->setAccessibleName(Lang(QStringLiteral("Dein Name"), QStringLiteral("Your name")));
    OkBtn->SetName(QStringLiteral("OK"));
    OkBtn->setAccessibleDescription(showOnly_ ? QString() : OkBtn->Hint());
}

void THighscoreDlg::showEvent(QShowEvent* event)
{
    // Placed and worded before it first appears, not a moment after.
    FormActivate();
    KeepPlacementKnown(*this);
    QDialog::showEvent(event);
}

void THighscoreDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OkBtnClick();
        return;
    case Qt::Key_Escape:
        // Closes without storing, in either mode: in show-only mode there is
        // nothing new to keep, and a ticked "remove all" is not confirmed.
        CancelBtnClick();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
