#pragma once
// The file open and save dialogs and the folder picker, behind an interface so that tests can
// answer them in place of a user.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace vehmira::gui::framework {

class TFileDialogs {
public:
    virtual ~TFileDialogs() = default;
    // Filters are written "Name|*.ext|Name|*.*". The result is the chosen full
    // file name, or nothing when the user cancelled. No default extension is
    // added and no question is asked before an existing file is replaced.
    virtual std::optional<std::wstring> OpenFileName(HWND owner, std::wstring_view filter,
                                                     std::wstring_view initialName = {}) = 0;
    virtual std::optional<std::wstring> SaveFileName(HWND owner, std::wstring_view filter,
                                                     std::wstring_view initialName = {}) = 0;
    // A folder picker opened at initialFolder (when it exists); the result is
    // the chosen folder's full name, or nothing when the user cancelled.
    virtual std::optional<std::wstring> FolderName(HWND owner, std::wstring_view title,
                                                   std::wstring_view initialFolder) = 0;
};

// The system's common dialogs.
TFileDialogs& SystemFileDialogs();

} // namespace vehmira::gui::framework
