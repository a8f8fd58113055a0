#pragma once
// The help layer under the router: finds the help viewer once when the
// program starts, sets up the trace, and carries the two viewer calls the
// game makes, show a topic and close all help windows.
#include <QString>
#include <QStringList>
#include <memory>

class HelpViewer;
class HelpWindowHost;

// Commands of the HTML help control.
constexpr int kHtmlHelpShowContext = 15;
constexpr int kHtmlHelpCloseAll = 18;

// True when a help viewer can show topics. The game's own viewer is built in
// wherever the platform has none, so there it is always true.
extern bool HHInstalled;

// Called by the program entry before any window exists, with the program's
// arguments (its own path first) and its directory (trailing '/'): deletes an
// old trace, switches the trace on if asked, and loads the help viewer.
// May be called again; it starts afresh.
void InitHelpLayer(const QStringList& args, const QString& programDir);

// Whether the viewer library is loaded (on Windows "hhctrl.ocx"; elsewhere
// the built-in viewer, always).
bool HelpControlLoaded();

// Shows the topic and brings its window to the front. The viewer's answer is
// not reported: a missing file or topic is the viewer's to show.
void HHShowTopic(const QString& path, quint32 context);

// The open help window, if any, shows this topic instead (after a change of
// language); nothing opens and nothing comes to the front.
void HHFollowTopic(const QString& path, quint32 context);

// Closes every help window, then yields the rest of the time slice so the
// viewer can take them down.
void HHCloseAll();

// Puts another viewer in place of the platform's: the game's own where the
// platform has none (the program installs it), or a test's stand-in that
// counts its calls; nullptr puts the platform's back. Returns the viewer that
// was set before, nullptr for the platform's.
HelpViewer* SetHelpViewer(HelpViewer* viewer);

// The game's own viewer, placing its window through the host (nullptr: none;
// the window then opens where the window system puts it), where the platform
// has no viewer of its own; nullptr where it has one (Windows).
std::unique_ptr<HelpViewer> MakeOwnHelpViewer(HelpWindowHost* host);
