#pragma once
// The application's help entry point. The game asks for help only through
// these calls; whoever installs a handler (the help router) receives every
// request as (command, data).
#include <functional>

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
