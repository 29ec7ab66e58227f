#include "gui/framework/FileDialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace vehmira::gui::framework {

namespace {

// "A|*.a|B|*.*" becomes the system's "A\0*.a\0B\0*.*\0\0".
std::wstring SystemFilter(std::wstring_view filter)
{
    std::wstring result(filter);
    std::replace(result.begin(), result.end(), L'|', L'\0');
    result.append(2, L'\0');
    return result;
}

class TSystemFileDialogs final : public TFileDialogs {
public:
    std::optional<std::wstring> OpenFileName(HWND owner, std::wstring_view filter,
                                             std::wstring_view initialName) override
    {
        return Run(owner, filter, initialName, false);
    }
    std::optional<std::wstring> SaveFileName(HWND owner, std::wstring_view filter,
                                             std::wstring_view initialName) override
    {
        return Run(owner, filter, initialName, true);
    }

private:
    static std::optional<std::wstring> Run(HWND owner, std::wstring_view filter, std::wstring_view initialName,
                                           bool save)
    {
        const std::wstring systemFilter = SystemFilter(filter);
        std::vector<wchar_t> fileName(32768, L'\0');
        std::copy_n(initialName.begin(), std::min(initialName.size(), fileName.size() - 1), fileName.begin());
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = systemFilter.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = fileName.data();
        dialog.nMaxFile = static_cast<DWORD>(fileName.size());
        dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
        const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
        if (!chosen)
            return std::nullopt;
        return std::wstring(fileName.data());
    }
};

} // namespace

TFileDialogs& SystemFileDialogs()
{
    static TSystemFileDialogs dialogs;
    return dialogs;
}

} // namespace vehmira::gui::framework
