// Vehmira.exe: creates the program's windows and runs until the main window closes.

#include "shell/AppEnvironment.h"
#include "shell/Application.h"
#include "shell/ErrorBox.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        TVehmiraApp app(EnvironmentBesideExecutable());
        return app.Run();
    } catch (...) {
        PresentCurrentException(nullptr);
        return 1;
    }
}
