#pragma once
// The application's help entry point. The game asks for help only through
// these calls; whoever installs a handler (the help router) receives every
// request as (command, data).
#include <functional>

// The application's help commands.
constexpr int kHelpContext = 1;
constexpr int kHelpQuit = 2;
constexpr int kHelpIndex = 3;
constexpr int kHelpContents = 3;
constexpr int kHelpOnHelp = 4;
constexpr int kHelpSetIndex = 5;
constexpr int kHelpSetContents = 5;
constexpr int kHelpContextPopup = 8;
constexpr int kHelpForceFile = 9;
constexpr int kHelpContextMenu = 10;
constexpr int kHelpFinder = 11;
constexpr int kHelpWmHelp = 12;
constexpr int kHelpSetPopupPos = 13;
constexpr int kHelpKey = 257;
constexpr int kHelpCommand = 258;
constexpr int kHelpPartialKey = 261;
constexpr int kHelpMultiKey = 513;
constexpr int kHelpSetWinPos = 515;

// Answers a help request. Clearing callHelp skips the application's own
// default handling; the result says whether the request was handled.
using AppHelpHandler = std::function<bool(int command, int data, bool& callHelp)>;

// Installs a handler and returns the one installed before, so that it can
// be put back; an empty handler removes it.
AppHelpHandler SetAppHelpHandler(AppHelpHandler handler);

// Asks for the topic with this context number (kHelpContext).
bool AppHelpContext(int context);

// Sends a help command. Without a handler, or when the handler leaves
// callHelp set, the application's default handling runs; it does nothing,
// because the application has no help file of its own, and the result is the
// handler's (false without one).
bool AppHelpCommand(int command, int data);
