#include "gui/GuiFixture.h"

#include "gui/windows/FormMain.h"
#include "gui/framework/WideText.h"

#include <commctrl.h>

#include <fstream>
#include <iterator>

using namespace vehmira::gui;
using namespace vehmira::gui::framework;

std::optional<std::wstring> TScriptedFileDialogs::OpenFileName(HWND, std::wstring_view filter,
                                                             std::wstring_view initialName)
{
    std::optional<std::wstring> answer = Answer(false, filter);
    Calls.back().InitialName = initialName;
    return answer;
}

std::optional<std::wstring> TScriptedFileDialogs::SaveFileName(HWND, std::wstring_view filter,
                                                             std::wstring_view initialName)
{
    std::optional<std::wstring> answer = Answer(true, filter);
    Calls.back().InitialName = initialName;
    return answer;
}

std::optional<std::wstring> TScriptedFileDialogs::FolderName(HWND, std::wstring_view title,
                                                           std::wstring_view initialFolder)
{
    std::optional<std::wstring> answer = Answer(false, title);
    Calls.back().InitialName = initialFolder;
    Calls.back().Folder = true;
    return answer;
}

std::optional<std::wstring> TScriptedFileDialogs::Answer(bool save, std::wstring_view filter)
{
    Calls.push_back({save, std::wstring(filter)});
    std::optional<std::wstring> answer;
    if (!Answers.empty()) {
        answer = Answers.front();
        Answers.pop_front();
    }
    ++CallCount;
    return answer;
}

void TGuiTest::TearDown()
{
    App.reset();
    // "Выход" posts the end of the message loop; it must not reach the next test.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ;
}

std::wstring TGuiTest::GamePathText() const
{
    return GameDir().wstring() + L"\\";
}

void TGuiTest::WriteSettings(const std::optional<std::wstring>& path, const std::optional<std::wstring>& language,
                             const std::optional<std::wstring>& gxt)
{
    std::wstring text = L"[Dorvelin]\r\n";
    if (path)
        text += L"Path=" + *path + L"\r\n";
    text += L"[Vehmira]\r\n";
    if (language)
        text += L"Language=" + *language + L"\r\n";
    if (gxt)
        text += L"GXT=" + *gxt + L"\r\n";
    // UTF-16 with its byte-order mark, which the system's INI functions read as such.
    std::ofstream file(SettingsPath(), std::ios::binary);
    file.write("\xFF\xFE", 2);
    file.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
}

std::wstring TGuiTest::ReadSetting(const wchar_t* section, const wchar_t* key) const
{
    wchar_t value[1024] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", value, 1024, SettingsPath().c_str());
    return value;
}

void TGuiTest::WriteGame(const TGameFixtureContent& content)
{
    GameFixture::WriteGameDirectory(GameDir(), content);
}

void TGuiTest::WriteCompleteSettings()
{
    WriteSettings(GamePathText(), L"English", L"American.gxt");
}

void TGuiTest::WriteLanguageText(const std::wstring& text)
{
    std::ofstream file(LanguagePath(), std::ios::binary | std::ios::trunc);
    file.write("\xFF\xFE", 2);
    file.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
}

void TGuiTest::WriteShippedLanguageFile()
{
    std::ifstream source(VEHMIRA_LANGUAGE_SOURCE, std::ios::binary);
    ASSERT_TRUE(source) << "cannot read " << VEHMIRA_LANGUAGE_SOURCE;
    const std::string utf8((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    std::wstring text;
    for (wchar_t c : vehmira::gui::framework::Wide(utf8)) {
        if (c == L'\n')
            text += L'\r';
        text += c;
    }
    WriteLanguageText(text);
}

void TGuiTest::CreateApp()
{
    TAppEnvironment environment;
    environment.SettingsFile = SettingsPath();
    environment.LanguageFile = LanguagePath();
    environment.FileDialogs = &FileDialogs;
    App = std::make_unique<TVehmiraApp>(environment);
}

std::vector<std::string> TGuiTest::Start(const std::function<void(TUser&)>& userSteps)
{
    if (!App)
        CreateApp();
    return Act(
        [this] {
            ShowWindow(App->FormMain->Handle(), SW_SHOW);
            // The start-up sequence runs from the message posted by the first showing.
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchFormMessage(message);
        },
        userSteps);
}

std::vector<std::string> TGuiTest::Act(const std::function<void()>& guiAction,
                                       const std::function<void(TUser&)>& userSteps)
{
    return RunAsUser(guiAction, userSteps ? userSteps : [](TUser&) {}, {App->FormMain->Handle()});
}

std::vector<std::string> TGuiTest::Menu(int command, const std::function<void(TUser&)>& userSteps)
{
    return Act([&] { SendMessageW(App->FormMain->Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }, userSteps);
}

std::vector<std::string> TGuiTest::ClickMain(const char* button, const std::function<void(TUser&)>& userSteps)
{
    return Act([&] { SendMessageW(App->FormMain->Control(button), BM_CLICK, 0, 0); }, userSteps);
}

TListRows ListRows(HWND list)
{
    TListRows rows;
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        wchar_t id[256] = {};
        wchar_t name[256] = {};
        ListView_GetItemText(list, row, 0, id, 256);
        ListView_GetItemText(list, row, 1, name, 256);
        rows.emplace_back(id, name);
    }
    return rows;
}

TListRows TGuiTest::Rows() const { return ListRows(App->FormMain->Control("List_ID")); }

testing::AssertionResult TGuiTest::ArchiveOpensAsTheGameOpensIt() const
{
    const std::filesystem::path archive = GameDir() / "Models" / "GTA3.img";
    HANDLE file = CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return testing::AssertionFailure() << "opening the archive failed with error " << GetLastError();
    CloseHandle(file);
    return testing::AssertionSuccess();
}

void TGuiTest::SelectRow(int row)
{
    ListView_SetItemState(App->FormMain->Control("List_ID"), row, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
}
