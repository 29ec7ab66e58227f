#pragma once
// A long task (an archive rebuild) with a progress bar and a cancel button:
// the task runs on a worker thread while the window, modal over its owner,
// keeps the program responsive.

#include "fileio/Progress.h"
#include "gui/framework/Window.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>

namespace vehmira::gui::framework {

class TFormProgress : public TForm {
public:
    TFormProgress(HWND owner, std::wstring_view caption, std::wstring_view cancelCaption);

    // Runs task on a worker thread and returns when it has ended, rethrowing
    // what it raised. The task reports and polls through the sink it is given;
    // the cancel button and the close box ask it to stop.
    void Run(const std::function<void(fileio::TProgressSink&)>& task);

    // Asks the running task to stop, as the cancel button does.
    void RequestCancel() { Cancelled = true; }

protected:
    void OnCommand(int id, int notifyCode) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class TSink;
    std::atomic<bool> Cancelled = false;
    std::atomic<bool> Finished = false;
};

} // namespace vehmira::gui::framework
