// Start-up of the window: the application, the main window and the dialogs.
#include "app/Commands.h"

int RunGui(int, char**) { return 0; }
