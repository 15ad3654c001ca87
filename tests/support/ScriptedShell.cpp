// The scripted shell is all in its header.
#include "tests/support/ScriptedShell.h"
