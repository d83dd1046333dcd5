#include "platform/ui/WinApp.h"

// The data object, the log and the application object (app/Globals.cpp) exist
// by now; the framework runs the application's start-up routine.
int main()
{
    return AfxWinMain();
}
