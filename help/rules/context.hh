/* Context numbers of the rules topics; the game asks for these numbers. */
#define IDH_RULES_GERMAN 1
#define IDH_RULES_ENGLISH 2
