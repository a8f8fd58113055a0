#pragma once
// The high-score table window. Two modes: entry mode offers a finished game's
// score a place and lets the player type a name; show-only mode just shows
// the table. The fifteen rows and the last player name live in the settings
// store, each row enciphered; the window only ever holds a working copy that
// is reloaded at every showing. OK stores only what it changes, into the table
// as it is stored at that moment: another copy of the game may have stored a
// result while this window was open.
#include "ui/HighscoreTable.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class TIniCtrl;
class HighscoreNameValidator;
class PictureButton;
class TexturedPanel;

class THighscoreDlg : public QDialog {
    Q_OBJECT
public:

    // Reads the remembered player name at once, so the store must be usable
    // by then. The dialog is the main window's child, placed over it.
    THighscoreDlg(TIniCtrl& ini, QWidget* mainWindow);

    // 0: higher scores rank first (the game's way); 1: lower non-zero scores first.
    void SetDirection(int value);
    // The rows are kept under prefix + "0" ... prefix + "14".
    void SetINIString(const QString& value);

    // Loads the table and shows it: only to look at (showOnly), or with the
    // score entered in its row. Returns when the window has closed, or at once
    // when the score earns no place. A call while the table is already open
    // does nothing: the caller must wait until IsShowing() turns false
    // (the window system cannot show one window modally twice).
    void ShowModal(int score, bool showOnly);
    bool IsShowing() const;

    // Store the new entry with the typed name (or the cleared table) and
    // close. Only looking at the table stores nothing.
    void OkBtnClick();
    // Close; nothing is written.
    void CancelBtnClick();
    // The system ends the game while a new score's name is being entered:
    // the entry is kept with the name as typed, as OK would keep it (never
    // the "remove all" tick, which only the player's own OK may carry out).
    void KeepEntryAtEnd();
    // Places the window over the main window and sets its texts.
    void FormActivate();

    int EntryRow() const { return entryRow_; }
    bool ShowOnly() const { return showOnly_; }
    QString PlayerName() const { return playerName_; }
    const HighscoreTable& Table() const { return table_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Create();
    void BuildLayout();
    void MakeRowLabels();
    void LoadTable();
    void StoreChanges(bool clear);
    QStringList RowKeys() const;
    void ShowRows();
    void OpenEntryRow();
    QLabel* RowLabel(const QString& prefix, int row) const;

    TIniCtrl& ini_;
    QWidget* mainWindow_;

    int direction_ = 0;
    QString iniPrefix_;
    int entryRow_ = -1;
    int entryScore_ = 0;
    bool showOnly_ = false;
    QString playerName_;
    HighscoreTable table_;

    TexturedPanel* BackPanel2 = nullptr;
    TexturedPanel* BackPanel1 = nullptr;
    QLabel* title = nullptr;
    TexturedPanel* EditBack = nullptr;
    QLineEdit* Edit1 = nullptr;
    HighscoreNameValidator* nameRule_ = nullptr;
    TexturedPanel* p6 = nullptr;
    QCheckBox* ClearBox = nullptr;
    QLabel* delcheck = nullptr;
    PictureButton* CancelBtn = nullptr;
    PictureButton* OkBtn = nullptr;
};

// The one high-score window, made by the program entry after the main window.
extern THighscoreDlg* HighscoreDlg;
