#include "gui/UserThread.h"

#include "gui/framework/WideText.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

using namespace vehmira::gui;
using namespace vehmira::gui::framework;

namespace {

constexpr auto StepTimeout = std::chrono::seconds(20);
constexpr DWORD PollMilliseconds = 20;
// The static control that holds a message box's text.
constexpr int MessageBoxTextId = 0xFFFF;

bool IsMessageBox(HWND window)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return std::wstring_view(className) == L"#32770";
}

// Reads the text without sending a message, so it never waits for the GUI thread.
std::wstring WindowText(HWND window)
{
    std::wstring text(1024, L'\0');
    text.resize(static_cast<std::size_t>(InternalGetWindowText(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM collected)
{
    if (IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(collected)->push_back(window);
    return TRUE;
}

BOOL CALLBACK FindShownIcon(HWND child, LPARAM found)
{
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if (_wcsicmp(className, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
        SendMessageW(child, STM_GETICON, 0, 0) != 0) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

template <typename Condition>
void WaitFor(Condition condition, const std::string& what)
{
    const auto deadline = std::chrono::steady_clock::now() + StepTimeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            throw TUserStepFailed("timed out waiting for " + what);
        Sleep(PollMilliseconds);
    }
}

// Closes a window nobody expected, so that the GUI thread can go on.
void CloseUnexpected(HWND window)
{
    if (IsMessageBox(window))
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    else
        PostMessageW(window, WM_CLOSE, 0, 0);
}

} // namespace

std::vector<HWND> TUser::VisibleWindows() const
{
    std::vector<HWND> windows;
    EnumThreadWindows(GuiThread, &CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void TUser::WaitShown(HWND form, const char* what)
{
    WaitFor([form] { return IsWindowVisible(form) && IsWindowEnabled(form); }, std::string(what) + " to show");
}

void TUser::WaitHidden(HWND form, const char* what)
{
    WaitFor([form] { return !IsWindow(form) || !IsWindowVisible(form); }, std::string(what) + " to close");
}

void TUser::WaitUntil(const std::function<bool()>& condition, const char* what)
{
    WaitFor(condition, what);
}

void TUser::Pause()
{
    Sleep(300);
}

TMessageBoxSeen TUser::AnswerMessageBox()
{
    HWND box = nullptr;
    WaitFor(
        [&] {
            for (HWND window : VisibleWindows())
                if (IsMessageBox(window))
                    box = window;
            return box != nullptr;
        },
        "a message box");
    TMessageBoxSeen seen;
    seen.Title = WindowText(box);
    seen.Text = WindowText(GetDlgItem(box, MessageBoxTextId));
    EnumChildWindows(box, &FindShownIcon, reinterpret_cast<LPARAM>(&seen.HasIcon));
    HWND okButton = GetDlgItem(box, IDOK);
    if (!okButton)
        throw TUserStepFailed("the message box \"" + Utf8(seen.Text) + "\" has no OK button");
    Click(okButton);
    WaitFor([box] { return !IsWindow(box); }, "the message box to close");
    return seen;
}

void TUser::Click(HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
}

void TUser::PressKey(HWND control, WORD virtualKey)
{
    PostMessageW(control, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(control, WM_KEYUP, virtualKey, 1 | (1u << 30) | (1u << 31));
}

void TUser::SetText(HWND control, const std::wstring& text)
{
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring TUser::Text(HWND control)
{
    // Edit fields and drop-down lists keep their own text: ask the control.
    std::wstring text(1024, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TUser::SelectComboItem(HWND combo, int index)
{
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::vector<std::wstring> TUser::ComboItems(HWND combo)
{
    std::vector<std::wstring> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

int TUser::ComboSelection(HWND combo)
{
    return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

std::vector<std::string> RunAsUser(const std::function<void()>& guiAction,
                                   const std::function<void(TUser&)>& userSteps, const std::vector<HWND>& alwaysOpen)
{
    std::vector<std::string> problems;
    std::mutex problemsLock;
    const auto report = [&](const std::string& problem) {
        std::lock_guard lock(problemsLock);
        problems.push_back(problem);
    };
    std::atomic<bool> guiDone{false};
    const DWORD guiThread = GetCurrentThreadId();
    std::thread user([&] {
        TUser person(guiThread);
        try {
            userSteps(person);
        } catch (const std::exception& failure) {
            report(std::string("user step: ") + failure.what());
        }
        while (!guiDone) {
            for (HWND window : person.VisibleWindows()) {
                if (std::find(alwaysOpen.begin(), alwaysOpen.end(), window) != alwaysOpen.end())
                    continue;
                report("unexpected window \"" + Utf8(WindowText(window)) + "\" " +
                       (IsMessageBox(window) ? "saying \"" + Utf8(WindowText(GetDlgItem(window, MessageBoxTextId))) + "\"" : ""));
                CloseUnexpected(window);
                Sleep(200);
            }
            Sleep(PollMilliseconds);
        }
    });
    try {
        guiAction();
    } catch (const std::exception& error) {
        report(std::string("the GUI action threw: ") + error.what());
    }
    guiDone = true;
    user.join();
    return problems;
}

std::string JoinProblems(const std::vector<std::string>& problems)
{
    std::string text;
    for (const std::string& problem : problems)
        text += "\n  " + problem;
    return text;
}
