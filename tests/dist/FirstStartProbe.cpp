// Starts an unpacked download's Vehmira.exe as a player's first start does
// (no Settings.ini yet) and walks it from the outside: the language dialog with
// the languages of Vehmira.lng, OK; the path dialog, Cancel; the About box;
// closing the main window. Prints what it saw as "key: value" lines in UTF-8
// for scripts/test-dist.sh to check; exits 1 at the first step that does not
// happen in time.
//
// vehmira_first_start_probe.exe <folder holding Vehmira.exe and vehmira-cli.exe>

#include "gui/windows/MainMenu.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

using namespace vehmira::gui;

namespace {

constexpr auto StepTimeout = std::chrono::seconds(30);

struct TStepFailed {
    std::string Step;
};

std::string Utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

void Report(const char* key, std::wstring_view value)
{
    std::printf("%s: %s\n", key, Utf8(value).c_str());
    std::fflush(stdout);
}

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool HasClass(HWND window, const wchar_t* className)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return CompareStringOrdinal(name, -1, className, -1, TRUE) == CSTR_EQUAL;
}

// The visible top-level windows of one process, in z-order.
std::vector<HWND> ProcessWindows(DWORD processId)
{
    struct TSearch {
        DWORD ProcessId;
        std::vector<HWND> Found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<TSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search.ProcessId && IsWindowVisible(window))
                search.Found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// Every descendant window of a dialog, in creation order.
std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Waits for a visible window of the process whose caption starts with captionStart.
HWND WaitForWindow(DWORD processId, std::wstring_view captionStart, const std::string& step)
{
    const auto deadline = std::chrono::steady_clock::now() + StepTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        for (HWND window : ProcessWindows(processId))
            if (WindowText(window).starts_with(captionStart))
                return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    throw TStepFailed{step};
}

void WaitHidden(HWND window, const std::string& step)
{
    const auto deadline = std::chrono::steady_clock::now() + StepTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!IsWindow(window) || !IsWindowVisible(window))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    throw TStepFailed{step};
}

HWND ChildWith(HWND dialog, const wchar_t* className, std::wstring_view textStart, const std::string& step)
{
    for (HWND child : Descendants(dialog))
        if (HasClass(child, className) && WindowText(child).starts_with(textStart))
            return child;
    throw TStepFailed{step};
}

// A click as the button reports it to its dialog; posted, since the dialog
// may answer it with a modal loop of its own.
void Click(HWND dialog, const wchar_t* caption)
{
    HWND button = ChildWith(dialog, L"Button", caption, Utf8(caption) + " button");
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

std::wstring ComboItems(HWND combo)
{
    std::wstring items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items += (i == 0 ? L"" : L"|") + item;
    }
    return items;
}

void ReportFileVersion(const std::wstring& file)
{
    std::vector<char> data(GetFileVersionInfoSizeW(file.c_str(), nullptr));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    std::wstring version = L"none";
    if (!data.empty() && GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) &&
        VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) && info)
        version = std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
                  L"." + std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." +
                  std::to_wstring(LOWORD(info->dwFileVersionLS));
    Report(("file version " + Utf8(file.substr(file.rfind(L'\\') + 1))).c_str(), version);
}

// The first start speaks the language of the Windows interface: Russian or English.
struct TFirstStartTexts {
    const wchar_t* LanguageDialog;
    const wchar_t* PathDialog;
    const wchar_t* Cancel;
    const wchar_t* AboutBox;
    const wchar_t* Version;
};
constexpr TFirstStartTexts RussianTexts{L"Выбор языка", L"Путь", L"Отмена", L"О программе", L"Версия"};
constexpr TFirstStartTexts EnglishTexts{L"Choose language", L"Path", L"Cancel", L"About", L"Version"};

void WalkFirstStart(DWORD processId)
{
    HWND language = nullptr;
    const TFirstStartTexts* texts = nullptr;
    const auto deadline = std::chrono::steady_clock::now() + StepTimeout;
    while (!language && std::chrono::steady_clock::now() < deadline) {
        for (HWND window : ProcessWindows(processId))
            for (const TFirstStartTexts* candidate : {&RussianTexts, &EnglishTexts})
                if (WindowText(window).starts_with(candidate->LanguageDialog)) {
                    language = window;
                    texts = candidate;
                }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!language)
        throw TStepFailed{"the language dialog"};
    Report("language dialog", L"shown");
    HWND combo = ChildWith(language, L"ComboBox", L"", "the language list");
    Report("languages", ComboItems(combo));
    Click(language, L"OK");
    WaitHidden(language, "the language dialog closing");

    HWND path = WaitForWindow(processId, texts->PathDialog, "the path dialog");
    Report("path dialog", L"shown");
    Click(path, texts->Cancel);
    WaitHidden(path, "the path dialog closing");

    HWND main = WaitForWindow(processId, L"Vehmira", "the main window");
    Report("main window", WindowText(main));
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(AboutMenu, 0), 0);
    HWND about = WaitForWindow(processId, texts->AboutBox, "the about box");
    Report("about", WindowText(ChildWith(about, L"Static", texts->Version, "the version line")));
    Click(about, L"OK");
    WaitHidden(about, "the about box closing");
    PostMessageW(main, WM_CLOSE, 0, 0);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fputs("usage: vehmira_first_start_probe <folder of Vehmira.exe>\n", stderr);
        return 2;
    }
    const std::wstring folder = argv[1];
    ReportFileVersion(folder + L"\\Vehmira.exe");
    ReportFileVersion(folder + L"\\vehmira-cli.exe");

    std::wstring commandLine = L"\"" + folder + L"\\Vehmira.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        Report("start", L"failed");
        return 1;
    }
    int result = 0;
    try {
        WalkFirstStart(process.dwProcessId);
        if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
            throw TStepFailed{"Vehmira.exe ending"};
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        Report("exit code", std::to_wstring(exitCode));
    } catch (const TStepFailed& failed) {
        std::printf("timeout: %s\n", failed.Step.c_str());
        TerminateProcess(process.hProcess, 1);
        result = 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}
