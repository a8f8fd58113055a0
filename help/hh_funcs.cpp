#include "help/hh_funcs.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "help/HelpTrace.h"
#include "help/hh.h"
#include "settings/Globals.h"

int RulesContext()
{
    return German() ? kRulesGermanContext : kRulesEnglishContext;
}

QString HelpCommandName(int command)
{
    const char* name = "??";
    switch (command) {
    case kHelpContext: name = "HELP_CONTEXT"; break;
    case kHelpQuit: name = "HELP_QUIT"; break;
    case kHelpIndex: name = "HELP_INDEX or HELP_CONTENTS"; break;
    case kHelpOnHelp: name = "HELP_HELPONHELP"; break;
    case kHelpSetIndex: name = "HELP_SETINDEX or HELP_SETCONTENTS"; break;
    case kHelpContextPopup: name = "HELP_CONTEXTPOPUP"; break;
    case kHelpForceFile: name = "HELP_FORCEFILE"; break;
    case kHelpContextMenu: name = "HELP_CONTEXTMENU"; break;
    case kHelpFinder: name = "HELP_FINDER"; break;
    case kHelpWmHelp: name = "HELP_WM_HELP"; break;
    case kHelpSetPopupPos: name = "HELP_SETPOPUP_POS"; break;
    case kHelpKey: name = "HELP_KEY"; break;
    case kHelpCommand: name = "HELP_COMMAND"; break;
    case kHelpPartialKey: name = "HELP_PARTIALKEY"; break;
    case kHelpMultiKey: name = "HELP_MULTIKEY"; break;
    case kHelpSetWinPos: name = "HELP_SETWINPOS"; break;
    default: break;
    }
    return QStringLiteral("%1 (%2)").arg(QLatin1String(name)).arg(command);
}

namespace {
// The help file as the viewer is given it.
QString ViewerPath(const QString& helpFile, const QString& winDef)
{
    // "%20" stands for a blank in a help path written as an address; but a
    // folder may bear "%20" in its real name, and then the path is taken as
    // it is.
    QString path = helpFile.trimmed();
    if (!QFileInfo::exists(path))
        path = QString(helpFile).replace(QStringLiteral("%20"), QStringLiteral(" ")).trimmed();
    if (!winDef.isEmpty())
        path += u'>' + winDef;
    return path;
}
} // namespace

int HHHelpContext(const QString& helpFile, int context, const QString& winDef, HelpHostType hostType)
{
    DebugOut(QStringLiteral("HHHelpContext(\"%1\", %2, \"%3\", %4)")
                 .arg(helpFile)
                 .arg(context)
                 .arg(winDef)
                 .arg(int(hostType)));
    const QString path = ViewerPath(helpFile, winDef);

    DebugOut(QStringLiteral("ShowContext(\"%1\", %2)").arg(path).arg(context));
    int result = 0;
    switch (hostType) {
    case HelpHostType::HtmlHelp:
        if (!HHInstalled)
            result = 1;
        else
            HHShowTopic(path, quint32(context));
        break;
    // The external viewer programs belong to old Windows installations; they
    // are never found here.
    case HelpHostType::KeyHH: result = 2; break;
    case HelpHostType::HH: result = 3; break;
    }
    DebugOut(QStringLiteral("  returned - %1").arg(result));
    return result;
}

QString HHErrorText(int code)
{
    switch (code) {
    case 1: return QStringLiteral("MS Html Help is not installed on this PC.");
    case 2: return QStringLiteral("System file KeyHH.EXE was not found in the Windows folder.");
    case 3: return QStringLiteral("System file HH.EXE was not found in the Windows folder.");
    default: return QStringLiteral("Unknown error returned by HHHelpContext");
    }
}

void HHShowError(int code)
{
    const QString text = HHErrorText(code);
    DebugOut(QStringLiteral("HHShowError(%1), \"%2\"").arg(code).arg(text));
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
    box.exec();
}

THookHelpSystem::THookHelpSystem(const QString& chmFile, const QString& winDef, HelpHostType hostType)
    : chmFile_(chmFile), winDef_(winDef), hostType_(hostType)
{
    previousHandler_ = SetAppHelpHandler(
        [this](int command, int data, bool& callHelp) { return HelpHook(command, data, callHelp); });
    DebugOut(QStringLiteral("THookHelpSystem.Create(\"%1\",\"%2\", %3)")
                 .arg(chmFile_)
                 .arg(winDef_)
                 .arg(int(hostType_)));
}

THookHelpSystem::~THookHelpSystem()
{
    if (hostType_ == HelpHostType::HtmlHelp && HelpControlLoaded())
        HHCloseAll();
    SetAppHelpHandler(previousHandler_);
    DebugOut(QStringLiteral("THookHelpSystem.Destroy"));
}

bool THookHelpSystem::HelpHook(int command, int data, bool& callHelp)
{
    DebugOut(QStringLiteral("THookHelpSystem.HelpHook(%1, %2)").arg(HelpCommandName(command)).arg(data));
    switch (command) {
    case kHelpContext:
    case kHelpContextPopup: {
        callHelp = false;
        const int result = HHHelpContext(chmFile_, data, winDef_, hostType_);
        if (result != 0)
            HHShowError(result);
        break;
    }
    case kHelpSetPopupPos:
        callHelp = false;
        // The position comes packed as two 16-bit screen coordinates, x low.
        popupPosition_ = QPoint(qint16(quint32(data) & 0xffff), qint16(quint32(data) >> 16));
        break;
    default:
        break;
    }
    return true;
}

void THookHelpSystem::FollowLanguage()
{
    if (hostType_ == HelpHostType::HtmlHelp && HHInstalled)
        HHFollowTopic(ViewerPath(chmFile_, winDef_), quint32(RulesContext()));
}
