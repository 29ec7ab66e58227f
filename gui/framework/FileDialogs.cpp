#include "gui/framework/FileDialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
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

// Opens the folder picker at the folder named by data (a wide string).
int CALLBACK SelectInitialFolder(HWND picker, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data != 0)
        SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

// The shell's item list of a chosen folder, freed with the shell's allocator.
struct TItemListFree {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};

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

    std::optional<std::wstring> FolderName(HWND owner, std::wstring_view title,
                                           std::wstring_view initialFolder) override
    {
        const std::wstring titleText(title);
        // Without its trailing separator, which the picker does not select.
        std::wstring initial(initialFolder);
        while (initial.size() > 3 && (initial.back() == L'\\' || initial.back() == L'/'))
            initial.pop_back();
        BROWSEINFOW browse{};
        browse.hwndOwner = owner;
        browse.lpszTitle = titleText.c_str();
        browse.ulFlags = BIF_RETURNONLYFSDIRS;
        browse.lpfn = &SelectInitialFolder;
        browse.lParam = initial.empty() ? 0 : reinterpret_cast<LPARAM>(initial.c_str());
        const std::unique_ptr<ITEMIDLIST, TItemListFree> chosen(SHBrowseForFolderW(&browse));
        if (!chosen)
            return std::nullopt;
        std::vector<wchar_t> folder(MAX_PATH + 1, L'\0');
        if (!SHGetPathFromIDListW(chosen.get(), folder.data()))
            return std::nullopt; // not a folder of the file system
        return std::wstring(folder.data());
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
