#pragma once
// Child windows of the program's own classes (the preview's model view and
// texture panel): the class registered once, and a window procedure that
// hands each message to the object created with the window (the last
// argument of CreateWindowExW) and keeps exceptions away from the system.

#include <windows.h>

namespace vehmira::gui::framework {

// Registers the class unless it is registered already; throws
// std::runtime_error when the system refuses.
void RegisterChildWindowClass(const wchar_t* className, WNDPROC procedure, const wchar_t* cursor);

// TOwner's HandleMessage(message, wParam, lParam) gets every message once
// its Window handle is set, until its destructor clears the window's
// GWLP_USERDATA (before the window goes); the system's default gets the rest.
// TOwner makes this function its friend.
template <typename TOwner>
LRESULT CALLBACK ChildWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* owner = reinterpret_cast<TOwner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr || owner->Window.Get() == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    try {
        return owner->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing crosses into the system; the window keeps what it showed.
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace vehmira::gui::framework
