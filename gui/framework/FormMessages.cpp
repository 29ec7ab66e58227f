// The forms' window procedure and their modal showing.

#include "gui/framework/ErrorBox.h"
#include "gui/framework/Window.h"

#include <stdexcept>
#include <vector>

namespace vehmira::gui::framework {

namespace {

bool IsFormWindow(HWND window)
{
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    return std::wstring_view(className) == L"VehmiraForm";
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM collected)
{
    if (IsWindowVisible(window) && IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(collected)->push_back(window);
    return TRUE;
}

// Every visible, enabled top-level window of this thread except the form.
std::vector<HWND> DisableOtherWindows(HWND form)
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&windows));
    std::erase(windows, form);
    for (HWND window : windows)
        EnableWindow(window, FALSE);
    return windows;
}

} // namespace

void DispatchFormMessage(MSG& message)
{
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && IsFormWindow(root) && IsDialogMessageW(root, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

LRESULT CALLBACK TForm::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->Window = TWindowHandle(window);
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(window, message, wParam, lParam);
    try {
        const LRESULT result = form->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            form->Window.Release();
        }
        return result;
    } catch (...) {
        // The handler ends where it failed; the program goes on.
        PresentCurrentException(window);
        return 0;
    }
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const std::optional<LRESULT> handled = OnMessage(message, wParam, lParam))
        return *handled;
    switch (message) {
    case WM_COMMAND:
        if (!DialogKeyCommand(LOWORD(wParam)))
            OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case DM_GETDEFID:
        // Asked by the dialog keys' Enter, which then clicks the button itself when it is enabled.
        if (DefaultButton)
            return MAKELRESULT(GetDlgCtrlID(DefaultButton), DC_HASDEFID);
        break;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_DPICHANGED:
        // Moved to a monitor of another DPI: the layout is scaled anew.
        FormDpi = HIWORD(wParam);
        LayOut();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

void TForm::SetDialogKeys(std::string_view defaultButton, std::string_view cancelButton)
{
    HasDialogKeys = true;
    DefaultButton = defaultButton.empty() ? nullptr : Control(defaultButton);
    CancelButton = cancelButton.empty() ? nullptr : Control(cancelButton);
    if (DefaultButton)
        SendMessageW(DefaultButton, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

bool TForm::DialogKeyCommand(int id)
{
    if (!HasDialogKeys || (id != IDOK && id != IDCANCEL))
        return false;
    if (id == IDCANCEL && !CancelButton) {
        Close();
        return true;
    }
    HWND button = id == IDOK ? DefaultButton : CancelButton;
    if (button && IsWindowEnabled(button) && IsWindowVisible(button))
        OnCommand(GetDlgCtrlID(button), BN_CLICKED);
    return true;
}

void TForm::ShowModal()
{
    if (ModalDepth > 0)
        throw std::logic_error("a form cannot be shown modally twice at once");
    FormShow();
    CentreOnScreen();
    const std::vector<HWND> disabled = DisableOtherWindows(Handle());
    ++ModalDepth;
    ModalEnding = false;
    ShowWindow(Handle(), SW_SHOW);
    SetActiveWindow(Handle());
    // The keyboard starts at the first field, as in the system's dialogs.
    if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE))
        SetFocus(first);
    MSG message{};
    while (!ModalEnding) {
        const BOOL received = GetMessageW(&message, nullptr, 0, 0);
        if (received == 0) {
            // The program is ending: leave the quit for the outer loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (received == -1)
            break;
        DispatchFormMessage(message);
    }
    --ModalDepth;
    ModalEnding = false;
    // Enabled before hiding, so that activation returns to the caller's window.
    for (HWND window : disabled)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    if (Handle())
        ShowWindow(Handle(), SW_HIDE);
}

void TForm::Close()
{
    if (ModalDepth > 0) {
        ModalEnding = true;
        // Wakes the modal loop when Close came from a message sent by another thread.
        PostMessageW(Handle(), WM_NULL, 0, 0);
    } else {
        ShowWindow(Handle(), SW_HIDE);
    }
}

} // namespace vehmira::gui::framework
