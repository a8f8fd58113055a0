#include "help/AppHelp.h"

#include <utility>

namespace {

AppHelpHandler g_handler;

} // namespace

AppHelpHandler SetAppHelpHandler(AppHelpHandler handler)
{
    return std::exchange(g_handler, std::move(handler));
}

bool AppHelpContext(int context)
{
    return AppHelpCommand(kHelpContext, context);
}

bool AppHelpCommand(int command, int data)
{
    bool callHelp = true;
    // A copy, so that a handler may replace itself while it runs.
    const AppHelpHandler handler = g_handler;
    const bool handled = handler ? handler(command, data, callHelp) : false;
    // callHelp left set would hand the request to the application's own help
    // file; the game sets none, so there is nothing to do.
    return handled;
}
