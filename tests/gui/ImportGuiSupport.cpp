#include "gui/ImportGuiSupport.h"

#include "engine/Export.h"
#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormImportTyp.h"
#include "support/PackageBuilder.h"
#include "gui/windows/FormMain.h"
#include "gui/framework/WideText.h"

#include <commctrl.h>
#include <shlobj.h>

#include <chrono>
#include <cstring>

using namespace vehmira::archive;
using namespace vehmira::engine;
using namespace vehmira::fileio;
using namespace vehmira::gui;
using namespace vehmira::gui::framework;

namespace {

constexpr auto StepTimeout = std::chrono::seconds(20);
constexpr DWORD PollMilliseconds = 20;
constexpr int MessageBoxTextId = 0xFFFF;

std::wstring WindowText(HWND window)
{
    std::wstring text(1024, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsMessageBox(HWND window)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return std::wstring_view(className) == L"#32770";
}

} // namespace

testing::AssertionResult SameFiles(const TGameFiles& actual, const TGameFiles& expected)
{
    std::string differences;
    for (const auto& [name, bytes] : expected) {
        const auto found = actual.find(name);
        if (found == actual.end())
            differences += " " + name + " is missing;";
        else if (found->second != bytes)
            differences += " " + name + " differs (" + std::to_string(found->second.size()) + " bytes, expected " +
                           std::to_string(bytes.size()) + ");";
    }
    for (const auto& entry : actual)
        if (!expected.contains(entry.first))
            differences += " " + entry.first + " is extra;";
    if (differences.empty())
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "game files:" << differences;
}

TGameFiles TImportGuiTest::GameFiles() const
{
    // Between operations the program holds no game file open.
    return GameFixture::Snapshot(GameDir());
}

void WaitUntil(const std::function<bool()>& condition, const std::string& what)
{
    const auto deadline = std::chrono::steady_clock::now() + StepTimeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            throw TUserStepFailed("timed out waiting for " + what);
        Sleep(PollMilliseconds);
    }
}

TMessageBoxSeen AnswerBoxWith(TUser& user, int buttonId)
{
    HWND box = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : user.VisibleWindows())
                if (IsMessageBox(window))
                    box = window;
            return box != nullptr;
        },
        "a message box");
    TMessageBoxSeen seen;
    seen.Title = WindowText(box);
    seen.Text = WindowText(GetDlgItem(box, MessageBoxTextId));
    for (const int id : {IDYES, IDNO, IDOK, IDCANCEL})
        if (HWND candidate = GetDlgItem(box, id);
            candidate && (GetWindowLongPtrW(candidate, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            seen.DefaultButton = id;
    HWND button = GetDlgItem(box, buttonId);
    if (!button)
        throw TUserStepFailed("the message box \"" + Utf8(seen.Text) + "\" lacks the button wanted");
    user.Click(button);
    WaitUntil([box] { return !IsWindow(box); }, "the message box to close");
    return seen;
}

void ClickControl(HWND control)
{
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void SelectListRow(HWND list, int row)
{
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int SelectedListRow(HWND list)
{
    return ListView_GetNextItem(list, -1, LVNI_SELECTED);
}

HGLOBAL MakeDropHandle(const std::vector<std::wstring>& files)
{
    std::size_t characters = 1; // the list's final zero
    for (const std::wstring& file : files)
        characters += file.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES));
    for (const std::wstring& file : files) {
        std::memcpy(names, file.c_str(), (file.size() + 1) * sizeof(wchar_t));
        names += file.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

void TImportGuiTest::SetUp()
{
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
}

TFormImportTyp& TImportGuiTest::ImportTyp() const
{
    return *App->FormImportTyp;
}

TFormCarFiles& TImportGuiTest::CarFiles() const
{
    return *App->FormCarFiles;
}

TForm_ImportEnde& TImportGuiTest::ImportEnde() const
{
    return *App->Form_ImportEnde;
}

std::vector<std::string> TImportGuiTest::RunWizard(const std::function<void(TUser&)>& steps)
{
    return ClickMain("Button_Import", steps);
}

void TImportGuiTest::ChooseKind(TUser& user, bool package) const
{
    user.WaitShown(ImportTyp().Handle(), "the import-kind dialog");
    user.Click(ImportTyp().Control(package ? "Radio_ImportCAR" : "Radio_ImportFiles"));
    user.Click(ImportTyp().Control("Button_Next"));
}

void TImportGuiTest::FillCarFiles(TUser& user, const std::vector<std::pair<const char*, std::wstring>>& fields) const
{
    user.WaitShown(CarFiles().Handle(), "the separate-files dialog");
    for (const auto& [name, text] : fields)
        user.SetText(CarFiles().Control(name), text);
    user.Click(CarFiles().Control("NextButton"));
}

void TImportGuiTest::ReplaceRow(TUser& user, int row) const
{
    user.WaitShown(ImportEnde().Handle(), "the replace dialog");
    if (row >= 0)
        SelectListRow(ImportEnde().Control("TargetList"), row);
    // The fixture's models are RenderWare-shaped bytes that the check cannot
    // read: the import asks before it runs them, and these steps say yes.
    const bool asks = ImportEnde().ControlText("CheckLabel").starts_with(L"Игра не сможет загрузить этот транспорт:");
    user.Click(ImportEnde().Control("ReplaceButton"));
    if (asks)
        AnswerBoxWith(user, IDYES);
}

std::vector<std::wstring> TImportGuiTest::Boxes(TUser& user, std::size_t count)
{
    std::vector<std::wstring> texts;
    for (std::size_t i = 0; i < count; ++i) {
        const TMessageBoxSeen box = user.AnswerMessageBox();
        EXPECT_EQ(box.Title, L"Vehmira");
        texts.push_back(box.Text);
    }
    return texts;
}

void TImportGuiTest::WaitWizardClosed() const
{
    HWND main = App->FormMain->Handle();
    const std::vector<HWND> wizard{ImportTyp().Handle(), CarFiles().Handle(), ImportEnde().Handle()};
    WaitUntil(
        [&] {
            if (!IsWindowEnabled(main))
                return false;
            for (HWND window : wizard)
                if (IsWindowVisible(window))
                    return false;
            return true;
        },
        "the wizard to close");
}

std::filesystem::path TImportGuiTest::ExportedPackage(std::int32_t id, std::string_view fileName)
{
    TFixtureGame source;
    const std::filesystem::path package = Temp / fileName;
    TExportChoices everything{true, true, true, true, true, true};
    ExportVehicle(source.Context(), source.Vehicle(id), everything, package);
    return package;
}

TGameFiles TImportGuiTest::ReferenceImport(std::int32_t targetId, const TImportSource& source)
{
    TFixtureGame game;
    ImportVehicle(game.Context(), game.Vehicle(targetId), source);
    return game.Files();
}
