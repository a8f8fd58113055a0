// Compiled, never run: the help headers must still compile after the Windows
// headers, which define the help commands' names as macros (winuser.h) and
// the HTML help commands' (htmlhelp.h). A constant of the same name would
// become "constexpr int 0x0001L = 1;".
#define HELP_CONTEXT 0x0001L
#define HELP_QUIT 0x0002L
#define HELP_INDEX 0x0003L
#define HELP_CONTENTS 0x0003L
#define HELP_HELPONHELP 0x0004L
#define HELP_SETINDEX 0x0005L
#define HELP_SETCONTENTS 0x0005L
#define HELP_CONTEXTPOPUP 0x0008L
#define HELP_FORCEFILE 0x0009L
#define HELP_CONTEXTMENU 0x000aL
#define HELP_FINDER 0x000bL
#define HELP_WM_HELP 0x000cL
#define HELP_SETPOPUP_POS 0x000dL
#define HELP_KEY 0x0101L
#define HELP_COMMAND 0x0102L
#define HELP_PARTIALKEY 0x0105L
#define HELP_MULTIKEY 0x0201L
#define HELP_SETWINPOS 0x0203L
#define HH_HELP_CONTEXT 0x000F
#define HH_CLOSE_ALL 0x0012

#include "help/AppHelp.h"
#include "help/hh.h"
#include "help/hh_funcs.h"
