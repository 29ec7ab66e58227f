#pragma once
// A second thread that acts on the program's windows as a person would while
// the GUI thread is inside a handler (a modal dialog, a message box): it waits
// for windows to appear, reads them, types and clicks through real messages.

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

struct TMessageBoxSeen {
    std::wstring Title;
    std::wstring Text;
    bool HasIcon = false;
    int DefaultButton = 0; // the button Enter presses (IDYES, IDNO, ...); 0 when not asked
};

class TUserStepFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TUser {
public:
    explicit TUser(DWORD guiThread) : GuiThread(guiThread) {}

    // Waits until the form is visible (its modal loop is then running).
    void WaitShown(HWND form, const char* what);
    void WaitHidden(HWND form, const char* what);
    void WaitUntil(const std::function<bool()>& condition, const char* what);
    // Gives the GUI thread time to react to something that should change nothing.
    static void Pause();
    // Waits for a message box of the GUI thread, reads it, presses its OK button
    // and waits until it is gone.
    TMessageBoxSeen AnswerMessageBox();

    // Clicks are posted, so that a handler that opens a box does not block this thread.
    void Click(HWND button);
    void PressKey(HWND control, WORD virtualKey);
    void SetText(HWND control, const std::wstring& text);
    std::wstring Text(HWND control);
    void SelectComboItem(HWND combo, int index);
    // The items of a drop-down list and the selected one's index (-1 for none).
    std::vector<std::wstring> ComboItems(HWND combo);
    int ComboSelection(HWND combo);

    std::vector<HWND> VisibleWindows() const;

private:
    DWORD GuiThread;
};

// Runs guiAction on this thread (the one that created the windows) while
// userSteps run on a second thread. Windows that are still open, or that open
// after the steps, were not expected (except alwaysOpen ones): they are
// closed and reported. Returns the problems: failed steps, unexpected
// windows, an exception of guiAction.
std::vector<std::string> RunAsUser(const std::function<void()>& guiAction,
                                   const std::function<void(TUser&)>& userSteps,
                                   const std::vector<HWND>& alwaysOpen = {});

std::string JoinProblems(const std::vector<std::string>& problems);
