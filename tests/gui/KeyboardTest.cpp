// The keyboard as Windows users expect it: Alt and a menu's or a button's
// underlined letter, Enter for the default button and Escape for Cancel.

#include "gui/GuiFixture.h"
#include "gui/common/Language.h"
#include "gui/framework/WideText.h"
#include "gui/windows/FormAbout.h"
#include "gui/windows/FormLanguage.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/wizard/FormImportTyp.h"

#include <atomic>

using namespace vehmira::gui;
using namespace vehmira::gui::framework;

namespace {

// Alt held with a character key, as the message loop receives it.
constexpr LPARAM AltDown = 1 | (static_cast<LPARAM>(KF_ALTDOWN) << 16);

bool IsPopupMenuWindow(HWND window)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return std::wstring_view(className) == L"#32768";
}

class TKeyboardTest : public TGuiTest {
protected:
    void TearDown() override
    {
        TGuiTest::TearDown();
        SetCurrentLanguage(TLanguage()); // the next test starts in Russian
    }

    // Runs the main window's message loop, as the program does, until the user is done.
    std::vector<std::string> InMainLoop(const std::function<void(TUser&)>& steps)
    {
        std::atomic<bool> done{false};
        return Act(
            [&] {
                while (!done) {
                    MSG message;
                    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                        DispatchFormMessage(message);
                    else
                        Sleep(5);
                }
            },
            [&](TUser& user) {
                steps(user);
                done = true;
            });
    }

    // The menu the open pop-up shows, once one is open.
    static HMENU OpenPopupMenu(TUser& user)
    {
        HWND popup = nullptr;
        user.WaitUntil(
            [&] {
                for (HWND window : user.VisibleWindows())
                    if (IsPopupMenuWindow(window))
                        popup = window;
                return popup != nullptr;
            },
            "a menu to open");
        return reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    }
};

TEST_F(TKeyboardTest, AltAndAMenusLetterOpensThatMenu)
{
    WriteShippedLanguageFile();
    WriteGame();
    WriteCompleteSettings();
    struct TCase {
        const wchar_t* Language;
        wchar_t Letter;
        int Menu; // its position on the bar
    };
    const TCase cases[] = {
        {L"English", L'f', 0}, {L"English", L'S', 1}, {L"English", L'h', 2},
        {L"Русский", L'ф', 0}, {L"Русский", L'У', 1}, {L"Русский", L'с', 2},
        // The same keys with the other keyboard layout on.
        {L"English", L'а', 0}, {L"Русский", L'a', 0}, {L"Русский", L'e', 1},
    };
    EXPECT_NO_PROBLEMS(Start());
    HWND main = App->FormMain->Handle();
    for (const TCase& c : cases) {
        SCOPED_TRACE(Utf8(std::wstring(c.Language) + L" Alt+" + c.Letter));
        App->ApplyLanguage(c.Language);
        HMENU expected = GetSubMenu(GetMenu(main), c.Menu);
        HMENU opened = nullptr;
        EXPECT_NO_PROBLEMS(InMainLoop([&](TUser& user) {
            PostMessageW(main, WM_SYSCHAR, c.Letter, AltDown);
            opened = OpenPopupMenu(user);
            PostMessageW(main, WM_CANCELMODE, 0, 0);
            user.WaitUntil(
                [&] {
                    for (HWND window : user.VisibleWindows())
                        if (IsPopupMenuWindow(window))
                            return false;
                    return true;
                },
                "the menu to close");
        }));
        EXPECT_EQ(opened, expected);
    }
}

TEST_F(TKeyboardTest, AltAndAButtonsLetterClicksIt)
{
    WriteShippedLanguageFile();
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    App->ApplyLanguage(L"English");
    TMessageBoxSeen box;
    // "Export" with no vehicle chosen answers with its message.
    EXPECT_NO_PROBLEMS(InMainLoop([&](TUser& user) {
        PostMessageW(App->FormMain->Control("List_ID"), WM_SYSCHAR, L'e', AltDown);
        box = user.AnswerMessageBox();
    }));
    EXPECT_EQ(box.Text, L"  Please select a vehicle first!");
}

TEST_F(TKeyboardTest, EscapeClosesEveryDialogAsItsCancelDoes)
{
    WriteSettings(L"C:\\Old\\", L"English", L"American.gxt");
    CreateApp();
    struct TCase {
        TForm* Form;
        const char* Focus; // the control the key goes to
    };
    const TCase cases[] = {
        {App->FormPath.get(), "Edit_Path"},
        {App->FormLanguage.get(), "Combo_GXT"},
        {App->FormAbout.get(), "OKButton"},
        {App->FormImportTyp.get(), "Radio_ImportCAR"},
    };
    for (const TCase& c : cases) {
        EXPECT_NO_PROBLEMS(Act([&] { c.Form->ShowModal(); },
                               [&](TUser& user) {
                                   user.WaitShown(c.Form->Handle(), "the dialog");
                                   user.PressKey(c.Form->Control(c.Focus), VK_ESCAPE);
                                   user.WaitHidden(c.Form->Handle(), "the dialog");
                               }));
    }
    EXPECT_EQ(ReadSetting(L"Dorvelin", L"Path"), L"C:\\Old\\") << "Escape stores nothing";
}

TEST_F(TKeyboardTest, EnterPressesTheDefaultButtonWhichIsDrawnAsSuch)
{
    WriteGame();
    WriteSettings(L"C:\\Old\\", L"English", L"American.gxt");
    CreateApp();
    TFormPath& path = *App->FormPath;
    EXPECT_TRUE(GetWindowLongW(path.Control("Button_OK"), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_FALSE(GetWindowLongW(path.Control("Button_Cancel"), GWL_STYLE) & BS_DEFPUSHBUTTON);
    // A folder without the game: Enter is OK, which refuses it and keeps the dialog.
    EXPECT_NO_PROBLEMS(Act([&] { path.ShowModal(); },
                           [&](TUser& user) {
                               user.WaitShown(path.Handle(), "the path dialog");
                               user.SetText(path.Control("Edit_Path"), (Temp / "Missing").wstring());
                               user.PressKey(path.Control("Edit_Path"), VK_RETURN);
                               EXPECT_NE(user.AnswerMessageBox().Text.find(L"Missing"), std::wstring::npos);
                               EXPECT_TRUE(IsWindowVisible(path.Handle()));
                               user.SetText(path.Control("Edit_Path"), GameDir().wstring());
                               user.PressKey(path.Control("Edit_Path"), VK_RETURN);
                               user.WaitHidden(path.Handle(), "the path dialog");
                           }));
    EXPECT_EQ(ReadSetting(L"Dorvelin", L"Path"), GamePathText());
}

} // namespace
