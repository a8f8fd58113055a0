#pragma once
// The help router: stands between the application's help requests and the
// help viewer. It turns context requests into "show topic" calls, reports a
// missing viewer, and closes the viewer's windows when it goes.
#include <QPoint>
#include <QString>

#include "help/AppHelp.h"

// Context numbers of the topics in "tngx.chm".
constexpr int kRulesGermanContext = 1;
constexpr int kRulesEnglishContext = 2;

// The rules topic for the player's language: German when Tongue is 1.
int RulesContext();

// The command's name and number for the trace: "HELP_QUIT (2)", "?? (99)".
QString HelpCommandName(int command);

// Which viewer a router drives. Only the HTML help control is used by this
// game; the two external viewer programs are not available here.
enum class HelpHostType { HtmlHelp = 0, KeyHH = 1, HH = 2 };

// Shows a topic: 0 when it was handed to the viewer, 1 when no viewer is
// installed, 2 or 3 when the external viewer program was asked for.
int HHHelpContext(const QString& helpFile, int context, const QString& winDef, HelpHostType hostType);

// The warning text for a result of HHHelpContext.
QString HHErrorText(int code);
// Tells the player about a failed HHHelpContext in a warning box.
void HHShowError(int code);

class THookHelpSystem {
public:
    // From here on the application's help requests come to this router.
    THookHelpSystem(const QString& chmFile, const QString& winDef, HelpHostType hostType);
    // Closes the viewer's windows and gives help requests back to the handler
    // that was installed before.
    ~THookHelpSystem();
    THookHelpSystem(const THookHelpSystem&) = delete;
    THookHelpSystem& operator=(const THookHelpSystem&) = delete;

    // One help request of the application. Context requests show their topic
    // and skip the application's own handling; a popup position is kept; all
    // other commands are left to the application. Always reports handled.
    bool HelpHook(int command, int data, bool& callHelp);

    // After a change of language: an open rules window shows the rules in
    // the new language at once.
    void FollowLanguage();

    const QString& ChmFile() const { return chmFile_; }
    const QString& WinDef() const { return winDef_; }
    HelpHostType HostType() const { return hostType_; }
    QPoint PopupPosition() const { return popupPosition_; }

private:
    QString chmFile_;
    QString winDef_;
    HelpHostType hostType_;
    AppHelpHandler previousHandler_;
    QPoint popupPosition_;
};
