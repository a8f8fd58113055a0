#pragma once
// The application's help entry point. The game asks for help only through
// these calls; whoever installs a handler (the help router) receives every
// request as (command, data).
#include <functional>

// The application's help commands.
constexpr int HELP_CONTEXT = 1;
constexpr int HELP_QUIT = 2;
constexpr int HELP_INDEX = 3;
constexpr int HELP_CONTENTS = 3;
constexpr int HELP_HELPONHELP = 4;
constexpr int HELP_SETINDEX = 5;
constexpr int HELP_SETCONTENTS = 5;
constexpr int HELP_CONTEXTPOPUP = 8;
constexpr int HELP_FORCEFILE = 9;
constexpr int HELP_CONTEXTMENU = 10;
constexpr int HELP_FINDER = 11;
constexpr int HELP_WM_HELP = 12;
constexpr int HELP_SETPOPUP_POS = 13;
constexpr int HELP_KEY = 257;
constexpr int HELP_COMMAND = 258;
constexpr int HELP_PARTIALKEY = 261;
constexpr int HELP_MULTIKEY = 513;
constexpr int HELP_SETWINPOS = 515;

// Answers a help request. Clearing callHelp skips the application's own
// default handling; the result says whether the request was handled.
using AppHelpHandler = std::function<bool(int command, int data, bool& callHelp)>;

// Installs a handler and returns the one installed before, so that it can
// be put back; an empty handler removes it.
AppHelpHandler SetAppHelpHandler(AppHelpHandler handler);

// Asks for the topic with this context number (HELP_CONTEXT).
bool AppHelpContext(int context);

// Sends a help command. Without a handler, or when the handler leaves
// callHelp set, the application's default handling runs; it does nothing,
// because the application has no help file of its own, and the result is the
// handler's (false without one).
bool AppHelpCommand(int command, int data);
