#include "gui/framework/FormProgress.h"

#include <commctrl.h>

#include <array>
#include <exception>
#include <thread>

namespace vehmira::gui::framework {

namespace {

// Posted by the worker: the bar shows wParam thousandths; and the task ended.
constexpr UINT WM_PROGRESS = WM_APP + 10;
constexpr UINT WM_TASKENDED = WM_APP + 11;
constexpr int BarRange = 1000;

const std::array<TControlLayout, 2> ProgressControls{{
    {TControlKind::ProgressBar, "ProgressBar", "", 16, 16, 289, 17, L""},
    {TControlKind::Button, "CancelButton", "", 120, 48, 81, 25, L""},
}};

} // namespace

// Reports from the worker thread reach the window by posted messages only.
class TFormProgress::TSink : public fileio::TProgressSink {
public:
    TSink(HWND window, const std::atomic<bool>& cancelled) : Window(window), Cancelled(cancelled) {}

    void Progress(std::uint64_t done, std::uint64_t total) override
    {
        const int shown = total == 0 ? BarRange : int(std::min<std::uint64_t>(done, total) * BarRange / total);
        if (shown != LastShown) {
            LastShown = shown;
            PostMessageW(Window, WM_PROGRESS, WPARAM(shown), 0);
        }
    }

    bool CancelRequested() override { return Cancelled; }

private:
    HWND Window;
    const std::atomic<bool>& Cancelled;
    int LastShown = -1;
};

TFormProgress::TFormProgress(HWND owner, std::wstring_view caption, std::wstring_view cancelCaption)
    : TForm(TFormLayout{.Caption = caption, .Width = 321, .Height = 89, .Border = TBorderKind::Dialog,
                        .SystemMenu = true},
            ProgressControls, owner)
{
    SetControlText("CancelButton", cancelCaption);
    SendMessageW(Control("ProgressBar"), PBM_SETRANGE32, 0, BarRange);
    SetDialogKeys({}, "CancelButton");
}

void TFormProgress::Run(const std::function<void(fileio::TProgressSink&)>& task)
{
    Cancelled = false;
    Finished = false;
    SendMessageW(Control("ProgressBar"), PBM_SETPOS, 0, 0);
    std::exception_ptr failure;
    TSink sink(Handle(), Cancelled);
    std::thread worker([&] {
        try {
            task(sink);
        } catch (...) {
            failure = std::current_exception();
        }
        Finished = true;
        PostMessageW(Handle(), WM_TASKENDED, 0, 0);
    });
    ShowModal();
    // The modal loop also ends when the program is quitting: the task is told
    // to stop, and its end is awaited either way.
    Cancelled = Cancelled || !Finished;
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

void TFormProgress::OnCommand(int id, int notifyCode)
{
    if (notifyCode == BN_CLICKED && id == ControlId("CancelButton")) {
        Cancelled = true;
        EnableWindow(Control("CancelButton"), FALSE);
    }
}

std::optional<LRESULT> TFormProgress::OnMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_PROGRESS) {
        SendMessageW(Control("ProgressBar"), PBM_SETPOS, wParam, 0);
        return 0;
    }
    if (message == WM_TASKENDED) {
        Close();
        return 0;
    }
    if (message == WM_CLOSE) {
        // Closing asks the task to stop; the window goes when the task has.
        Cancelled = true;
        return 0;
    }
    return std::nullopt;
}

} // namespace vehmira::gui::framework
