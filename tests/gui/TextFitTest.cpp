// Every control shows its whole text, in both languages, at 96 DPI and at
// 144 DPI: measured with the control's own font as the system draws it.

#include "gui/GuiFixture.h"
#include "gui/framework/Dpi.h"
#include "win32/WindowQueries.h"
#include "gui/framework/WideText.h"
#include "gui/windows/Form1.h"
#include "gui/windows/FormAbout.h"
#include "gui/windows/FormLanguage.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/common/Language.h"
#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormImportTyp.h"

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <sstream>

using namespace vehmira::gui;
using namespace vehmira::gui::framework;
using namespace vehmira::win32;

namespace {

struct TFitCase {
    int Dpi;
    const wchar_t* Language;
};

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM children)
{
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(window);
    return TRUE;
}

// The form's own controls (not the parts of a list view or a drop-down list).
std::vector<HWND> ControlsOf(HWND form)
{
    std::vector<HWND> all;
    EnumChildWindows(form, &CollectChild, reinterpret_cast<LPARAM>(&all));
    std::erase_if(all, [form](HWND control) { return GetParent(control) != form; });
    return all;
}

SIZE DrawnText(HWND control, const std::wstring& text, UINT format, int width)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT bounds{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {bounds.right, bounds.bottom};
}

// What the control's text needs beside its own size: "" when it fits.
std::string TextProblem(HWND control, int dpi)
{
    const std::wstring text = WindowTextOf(control);
    if (text.empty())
        return {};
    RECT client{};
    GetClientRect(control, &client);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    const std::wstring kind = ClassOf(control);
    SIZE needed{};
    if (_wcsicmp(kind.c_str(), L"Static") == 0) {
        const bool wraps = (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
        needed = DrawnText(control, text, DT_EXPANDTABS | (wraps ? DT_WORDBREAK : 0), client.right);
    } else if (_wcsicmp(kind.c_str(), L"Button") == 0) {
        const SIZE line = DrawnText(control, text, DT_SINGLELINE, 0);
        const LONG_PTR type = style & BS_TYPEMASK;
        const int box = MulDiv(13 + 3, dpi, 96); // a check box's or radio button's box and its gap
        if (type == BS_GROUPBOX)
            needed = {line.cx + MulDiv(9, dpi, 96), line.cy};
        else if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON)
            needed = {line.cx + box, line.cy};
        else
            needed = {line.cx + MulDiv(4, dpi, 96), line.cy};
    } else {
        return {};
    }
    if (needed.cx <= client.right && needed.cy <= client.bottom)
        return {};
    std::ostringstream problem;
    problem << "\"" << Utf8(text) << "\" needs " << needed.cx << "x" << needed.cy << " in " << client.right << "x"
            << client.bottom;
    return problem.str();
}

bool IsGroupOrList(HWND control)
{
    const std::wstring kind = ClassOf(control);
    return (_wcsicmp(kind.c_str(), L"Button") == 0 &&
            (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) ||
           _wcsicmp(kind.c_str(), L"ComboBox") == 0;
}

class TTextFitTest : public TGuiTest, public ::testing::WithParamInterface<TFitCase> {
protected:
    void SetUp() override { SetLayoutDpiOverride(GetParam().Dpi); }
    void TearDown() override
    {
        TGuiTest::TearDown();
        SetLayoutDpiOverride(0);
        SetCurrentLanguage(TLanguage());
    }
    void WriteShippedLanguageFile()
    {
        std::ifstream source(VEHMIRA_LANGUAGE_SOURCE, std::ios::binary);
        ASSERT_TRUE(source);
        const std::string utf8((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
        std::wstring text = L"\xFEFF";
        for (wchar_t c : Wide(utf8)) {
            if (c == L'\n')
                text += L'\r';
            text += c;
        }
        std::ofstream file(LanguagePath(), std::ios::binary);
        file.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
    }
    std::vector<TForm*> Forms() const
    {
        return {App->FormMain.get(),     App->FormPath.get(),     App->Form1.get(),
                App->FormImportTyp.get(), App->FormCarFiles.get(), App->Form_ImportEnde.get(),
                App->FormLanguage.get(), App->FormAbout.get()};
    }
};

TEST_P(TTextFitTest, EveryTextFitsItsControlAndEveryControlItsForm)
{
    WriteShippedLanguageFile();
    WriteSettings(std::nullopt, GetParam().Language, L"American.gxt");
    CreateApp();
    const int dpi = GetParam().Dpi;
    for (TForm* form : Forms()) {
        SCOPED_TRACE(Utf8(WindowTextOf(form->Handle())));
        RECT client{};
        GetClientRect(form->Handle(), &client);
        const std::vector<HWND> controls = ControlsOf(form->Handle());
        for (HWND control : controls) {
            SCOPED_TRACE(Utf8(ClassOf(control)) + " " + Utf8(WindowTextOf(control)));
            EXPECT_EQ(TextProblem(control, dpi), "");
            RECT bounds = RectIn(control, form->Handle());
            if (_wcsicmp(ClassOf(control).c_str(), L"ComboBox") != 0) {
                EXPECT_LE(bounds.right, client.right) << "inside the form";
                EXPECT_LE(bounds.bottom, client.bottom) << "inside the form";
            }
            // A grown text covers no neighbour (group boxes and lists hold others by design).
            for (HWND other : controls) {
                if (other == control || IsGroupOrList(control) || IsGroupOrList(other))
                    continue;
                RECT otherBounds = RectIn(other, form->Handle());
                // The written layout lets check boxes 17 high stand 16 apart: a pixel or two is no cover.
                const int tolerance = MulDiv(2, dpi, 96);
                InflateRect(&otherBounds, -tolerance, -tolerance);
                RECT overlap{};
                EXPECT_FALSE(IntersectRect(&overlap, &bounds, &otherBounds))
                    << "overlaps " << Utf8(ClassOf(other)) << " " << Utf8(WindowTextOf(other));
            }
        }
    }
}

TEST_P(TTextFitTest, LayoutsFontsAndColumnsScaleWithTheDpi)
{
    CreateApp();
    const int dpi = GetParam().Dpi;
    const auto scaled = [dpi](int written) { return MulDiv(written, dpi, 96); };
    TFormPath& path = *App->FormPath;
    const RECT edit = RectIn(path.Control("Edit_Path"), path.Handle());
    EXPECT_EQ(edit.left, scaled(32));
    EXPECT_EQ(edit.top, scaled(48));
    EXPECT_EQ(edit.right - edit.left, scaled(297));
    RECT client{};
    GetClientRect(path.Handle(), &client);
    EXPECT_GE(client.right, scaled(362));
    EXPECT_EQ(client.bottom, scaled(141));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(path.Control("Button_OK"), WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -scaled(11));
    HWND list = App->FormMain->Control("List_ID");
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), scaled(50));
    // The name takes the rest of the list, less a scroll bar: no empty column is left over.
    RECT listClient{};
    GetClientRect(list, &listClient);
    const int columns =
        ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1) + ListView_GetColumnWidth(list, 2);
    EXPECT_GE(columns, listClient.right - GetSystemMetrics(SM_CXVSCROLL)) << "no spare width beside the name";
    EXPECT_GE(ListView_GetColumnWidth(list, 1), scaled(114));
}

INSTANTIATE_TEST_SUITE_P(DpiAndLanguage, TTextFitTest,
                         ::testing::Values(TFitCase{96, L"Русский"}, TFitCase{96, L"English"},
                                           TFitCase{144, L"Русский"}, TFitCase{144, L"English"}),
                         [](const ::testing::TestParamInfo<TFitCase>& info) {
                             return std::to_string(info.param.Dpi) + "dpi_" +
                                    (info.param.Language == std::wstring(L"English") ? "English" : "Russian");
                         });

} // namespace

namespace {

// The manifest (linked into this test program as into Vehmira.exe) declares
// the process DPI-aware, so the system does not stretch its bitmaps.
TEST(DpiAwareness, TheManifestDeclaresTheProcessDpiAware)
{
    EXPECT_TRUE(IsProcessDPIAware());
    using TGetAwareness = int(WINAPI*)(DPI_AWARENESS_CONTEXT);
    using TGetContext = DPI_AWARENESS_CONTEXT(WINAPI*)();
    HMODULE user = GetModuleHandleW(L"user32.dll");
    auto getAwareness = reinterpret_cast<TGetAwareness>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    auto getContext =
        reinterpret_cast<TGetContext>(reinterpret_cast<void*>(GetProcAddress(user, "GetThreadDpiAwarenessContext")));
    if (getAwareness && getContext) {
        EXPECT_EQ(getAwareness(getContext()), 2) << "per monitor"; // DPI_AWARENESS_PER_MONITOR_AWARE
    }
}

} // namespace
