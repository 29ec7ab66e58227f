#include "gui/framework/ChildWindow.h"

#include <stdexcept>

namespace vehmira::gui::framework {

void RegisterChildWindowClass(const wchar_t* className, WNDPROC procedure, const wchar_t* cursor)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (GetClassInfoExW(instance, className, &windowClass))
        return;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, cursor);
    windowClass.lpszClassName = className;
    if (RegisterClassExW(&windowClass) == 0)
        throw std::runtime_error("a window class of the preview cannot be registered");
}

} // namespace vehmira::gui::framework
