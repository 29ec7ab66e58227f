// Vehmira.exe: creates the program's windows and runs until the main window closes.

#include "gui/windows/AppEnvironment.h"
#include "gui/windows/Application.h"
#include "gui/framework/Dpi.h"
#include "gui/framework/ErrorBox.h"

#include <windows.h>

using namespace vehmira::gui;
using namespace vehmira::gui::framework;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Where the manifest's declaration is not read (older systems), the call makes it.
    DeclareDpiAwareness();
    try {
        TVehmiraApp app(EnvironmentBesideExecutable());
        return app.Run();
    } catch (...) {
        PresentCurrentException(nullptr);
        return 1;
    }
}
