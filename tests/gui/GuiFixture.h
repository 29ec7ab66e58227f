#pragma once
// The fixture of the GUI tests: the real application's windows in this
// process, with its settings, language file and game directory in a
// directory of the test's own, and file dialogs answered by the test.

#include "gui/UserThread.h"
#include "support/GameFixture.h"
#include "gui/windows/Application.h"
#include "gui/framework/FileDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The window's written Russian texts, as the tests expect them word for word.
inline const std::wstring NoVehicleSelectedText = L"  Сначало выберите транспортное средство!!";
inline const std::wstring NoGameOpenText = L"Каталог игры не открыт: укажите его в меню «Установки» → «Путь»";

class TScriptedFileDialogs final : public vehmira::gui::framework::TFileDialogs {
public:
    struct TCall {
        bool Save;
        std::wstring Filter;
        std::wstring InitialName = {}; // the name (or folder) the dialog starts with
        bool Folder = false;           // the folder picker, whose Filter is its title
    };
    // The answers in order; nothing stands for a cancelled dialog.
    std::deque<std::optional<std::wstring>> Answers;
    std::vector<TCall> Calls;
    // Calls so far, safe to read from the user thread while the GUI thread answers.
    std::atomic<int> CallCount{0};

    std::optional<std::wstring> OpenFileName(HWND, std::wstring_view filter, std::wstring_view) override;
    std::optional<std::wstring> SaveFileName(HWND, std::wstring_view filter, std::wstring_view) override;
    std::optional<std::wstring> FolderName(HWND, std::wstring_view title, std::wstring_view initialFolder) override;

private:
    std::optional<std::wstring> Answer(bool save, std::wstring_view filter);
};

using TListRows = std::vector<std::pair<std::wstring, std::wstring>>;

// The rows of a vehicle list view, both columns.
TListRows ListRows(HWND list);

// A control's rectangle in the client coordinates of a window.
inline RECT RectIn(HWND window, HWND parent)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class TGuiTest : public ::testing::Test {
protected:
    void TearDown() override;

    std::filesystem::path SettingsPath() const { return Temp / "Settings.ini"; }
    std::filesystem::path LanguagePath() const { return Temp / "Vehmira.lng"; }
    std::filesystem::path GameDir() const { return Temp / "Game"; }
    // The game directory as the path dialog stores it, ending in "\".
    std::wstring GamePathText() const;

    // Writes Settings.ini as a plain text file; a missing value leaves its key out.
    void WriteSettings(const std::optional<std::wstring>& path, const std::optional<std::wstring>& language,
                       const std::optional<std::wstring>& gxt);
    std::wstring ReadSetting(const wchar_t* section, const wchar_t* key) const;
    void WriteGame(const TGameFixtureContent& content = GameFixture::DefaultContent());
    // Settings that name the written game, English and American.gxt: nothing is asked at start.
    void WriteCompleteSettings();
    // The language file as UTF-16 with its byte order mark.
    void WriteLanguageText(const std::wstring& text);
    // The tree's Vehmira.lng as the build writes it beside the program: UTF-16, CR LF.
    void WriteShippedLanguageFile();

    // Creates the eight windows (reading the settings).
    void CreateApp();
    // Creates the windows if needed, shows the main window and lets the
    // start-up sequence run to its end while userSteps act.
    std::vector<std::string> Start(const std::function<void(TUser&)>& userSteps = {});
    // Runs guiAction on the GUI thread with userSteps acting meanwhile.
    std::vector<std::string> Act(const std::function<void()>& guiAction,
                                 const std::function<void(TUser&)>& userSteps = {});
    // A menu command or a button click, delivered to the main window as the system would.
    std::vector<std::string> Menu(int command, const std::function<void(TUser&)>& userSteps = {});
    std::vector<std::string> ClickMain(const char* button, const std::function<void(TUser&)>& userSteps = {});

    TListRows Rows() const;
    void SelectRow(int row);
    // Opens Models\GTA3.img as the game does (reading, sharing reads only), as
    // another program would while this one sits idle.
    testing::AssertionResult ArchiveOpensAsTheGameOpensIt() const;

    TTempDir Temp;
    TScriptedFileDialogs FileDialogs;
    std::unique_ptr<vehmira::gui::TVehmiraApp> App;
};

// Fails the test with every problem the user thread saw.
#define EXPECT_NO_PROBLEMS(problems)                                                                                \
    do {                                                                                                             \
        const std::vector<std::string> seen = (problems);                                                           \
        EXPECT_TRUE(seen.empty()) << JoinProblems(seen);                                                             \
    } while (false)
