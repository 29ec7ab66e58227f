#include "gui/framework/Dpi.h"

namespace vehmira::gui::framework {

namespace {

int DpiOverride = 0;

template <typename Function>
Function SystemFunction(const char* name)
{
    // Only newer systems have these: looked up, so that the program starts on older ones too.
    HMODULE user = GetModuleHandleW(L"user32.dll");
    return user ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user, name))) : nullptr;
}

} // namespace

void DeclareDpiAwareness()
{
    using TSetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (auto setContext = SystemFunction<TSetContext>("SetProcessDpiAwarenessContext")) {
        if (setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) || setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE))
            return;
    }
    using TSetAware = BOOL(WINAPI*)();
    if (auto setAware = SystemFunction<TSetAware>("SetProcessDPIAware"))
        setAware();
}

int LayoutDpi()
{
    if (DpiOverride > 0)
        return DpiOverride;
    using TGetDpiForSystem = UINT(WINAPI*)();
    if (auto forSystem = SystemFunction<TGetDpiForSystem>("GetDpiForSystem"))
        if (const UINT dpi = forSystem(); dpi > 0)
            return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : WrittenDpi;
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : WrittenDpi;
}

void SetLayoutDpiOverride(int dpi)
{
    DpiOverride = dpi;
}

int ScaleToDpi(int written, int dpi)
{
    return MulDiv(written, dpi, WrittenDpi);
}

int WindowDpi(HWND window)
{
    if (DpiOverride > 0)
        return DpiOverride;
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    if (auto forWindow = SystemFunction<TGetDpiForWindow>("GetDpiForWindow"))
        if (const UINT dpi = forWindow(window); dpi > 0)
            return static_cast<int>(dpi);
    return LayoutDpi();
}

} // namespace vehmira::gui::framework
