// A demonstration window for the flat menu styling: a styled menu bar with
// icons, check and radio items, a disabled and a default item, and styled
// controls. Run with an output folder, it opens its menus one after another,
// photographs the screen and writes PNG files there, then ends.

#include "menustyle/Bitmap.h"
#include "menustyle/MenuStyler.h"
#include "menustyle/Menus.h"
#include "fileio/FileSystem.h"
#include "renderware/PngWriter.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace vehmira::menustyle;
using namespace vehmira::win32;

namespace {

void WritePng(const TBitmap& bitmap, const std::filesystem::path& file)
{
    const vehmira::renderware::TRgbaImage image{static_cast<std::uint32_t>(bitmap.Width()),
                                                static_cast<std::uint32_t>(bitmap.Height()), bitmap.RgbaPixels()};
    vehmira::fileio::ReplaceFileAtomically(file, vehmira::renderware::EncodePng(image));
}

constexpr wchar_t DemoClassName[] = L"VehmiraMenuStyleDemo";
constexpr UINT_PTR StepTimer = 1;
constexpr UINT StepMilliseconds = 350;

// Small coloured icons drawn in code: a filled square with a darker frame
// and a white dot, on a magenta transparent background.
TBitmap MakeIcon(COLORREF color)
{
    TBitmap icon(16, 16);
    TCanvas& canvas = icon.Canvas();
    icon.Fill(RGB(255, 0, 255));
    canvas.SetBrushColor(color);
    canvas.SetPenColor(RGB(GetRValue(color) / 2, GetGValue(color) / 2, GetBValue(color) / 2));
    canvas.RoundRect(1, 1, 15, 15, 5, 5);
    canvas.SetBrushColor(RGB(255, 255, 255));
    canvas.SetPenColor(RGB(255, 255, 255));
    canvas.Ellipse(5, 5, 11, 11);
    return icon;
}

struct TDemo {
    HWND Window = nullptr;
    TImageList Images{16, 16};
    std::unique_ptr<TMainMenu> Menu;
    TOwnerForm Form;
    std::unique_ptr<TMenuStyler> Styler;
    std::filesystem::path OutputFolder;
    std::vector<std::function<void()>> Steps;
    std::size_t NextStep = 0;
    int Failures = 0;
};

TDemo* Demo = nullptr;

void BuildMenu(TDemo& demo)
{
    demo.Images.Add(MakeIcon(RGB(40, 120, 220)));
    demo.Images.Add(MakeIcon(RGB(230, 160, 20)));
    demo.Images.Add(MakeIcon(RGB(40, 170, 60)));
    demo.Images.Add(MakeIcon(RGB(200, 40, 40)));
    demo.Menu = std::make_unique<TMainMenu>(L"DemoMenu");
    TMainMenu& menu = *demo.Menu;
    menu.Images = &demo.Images;
    TMenuItem& file = menu.Items().Add(L"File1", L"File  ");
    const auto add = [](TMenuItem& parent, const wchar_t* caption, int image, TShortCut shortCut) -> TMenuItem& {
        TMenuItem& item = parent.Add(std::wstring{}, caption);
        item.ImageIndex = image;
        item.SetShortCut(shortCut);
        return item;
    };
    add(file, L"New", 0, scCtrl | 'N');
    add(file, L"Open...", 1, scCtrl | 'O');
    add(file, L"Save", 2, scCtrl | 'S').SetEnabled(false);
    add(file, L"-", -1, 0);
    add(file, L"Print", 3, scCtrl | 'P').SetDefault(true);
    add(file, L"-", -1, 0);
    add(file, L"Exit", -1, scAlt | VK_F4);
    TMenuItem& view = menu.Items().Add(L"View1", L"View  ");
    add(view, L"Toolbar", -1, 0).SetChecked(true);
    add(view, L"Status bar", 2, 0).SetChecked(true);
    add(view, L"-", -1, 0);
    TMenuItem& small = add(view, L"Small icons", -1, 0);
    small.SetRadioItem(true);
    TMenuItem& large = add(view, L"Large icons", -1, 0);
    large.SetRadioItem(true);
    large.SetChecked(true);
    add(view, L"-", -1, 0);
    add(view, L"Refresh", 0, VK_F5);
    add(view, L"Not available", 1, 0).SetEnabled(false);
    TMenuItem& help = menu.Items().Add(L"Help1", L"Help  ");
    add(help, L"About", 3, VK_F1);
    menu.AttachTo(demo.Window);
}

HWND AddControl(HWND parent, const wchar_t* className, DWORD style, const wchar_t* caption, RECT bounds,
                DWORD exStyle = 0)
{
    const HWND control =
        CreateWindowExW(exStyle, className, caption, WS_CHILD | WS_VISIBLE | style, bounds.left, bounds.top,
                        bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void BuildControls(TDemo& demo)
{
    const HWND w = demo.Window;
    AddControl(w, L"Button", BS_GROUPBOX, L"Options", RECT{12, 10, 232, 150});
    const HWND checked = AddControl(w, L"Button", BS_AUTOCHECKBOX, L"Checked box", RECT{24, 30, 200, 47});
    SendMessageW(checked, BM_SETCHECK, BST_CHECKED, 0);
    AddControl(w, L"Button", BS_AUTOCHECKBOX, L"Plain box", RECT{24, 50, 200, 67});
    const HWND grayed = AddControl(w, L"Button", BS_AUTO3STATE, L"Undecided box", RECT{24, 70, 200, 87});
    SendMessageW(grayed, BM_SETCHECK, BST_INDETERMINATE, 0);
    const HWND radio = AddControl(w, L"Button", BS_AUTORADIOBUTTON | WS_GROUP, L"First choice", RECT{24, 95, 200, 112});
    SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
    AddControl(w, L"Button", BS_AUTORADIOBUTTON, L"Second choice", RECT{24, 115, 200, 132});
    AddControl(w, L"Edit", ES_AUTOHSCROLL, L"An edit field", RECT{250, 16, 500, 37}, WS_EX_CLIENTEDGE);
    const HWND combo = AddControl(w, L"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, L"", RECT{250, 46, 500, 200});
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"A drop-down list"));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    AddControl(w, L"Edit", ES_MULTILINE, L"A memo\r\nwith two lines", RECT{250, 80, 500, 130}, WS_EX_CLIENTEDGE);
    AddControl(w, L"Static", SS_SUNKEN, L"", RECT{12, 160, 232, 200});
    AddControl(w, L"Button", BS_DEFPUSHBUTTON, L"OK", RECT{250, 150, 340, 175});
    AddControl(w, L"Button", BS_PUSHBUTTON, L"Cancel", RECT{350, 150, 440, 175});
    const HWND imageButton = AddControl(w, L"Button", BS_PUSHBUTTON | BS_BITMAP, L"", RECT{450, 150, 500, 175});
    static const TBitmap glyph = MakeIcon(RGB(40, 170, 60));
    // The button shows a copy; the copy lives as long as the process.
    const HBITMAP copy = static_cast<HBITMAP>(CopyImage(GetCurrentObject(glyph.Dc(), OBJ_BITMAP), IMAGE_BITMAP, 0, 0, 0));
    SendMessageW(imageButton, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(copy));
}

// The window from its menu bar down, and every open menu.
RECT ScreenArea(HWND window)
{
    RECT area{};
    GetWindowRect(window, &area);
    MENUBARINFO bar{};
    bar.cbSize = sizeof(bar);
    if (GetMenuBarInfo(window, OBJID_MENU, 0, &bar))
        area.top = bar.rcBar.top;
    EnumWindows(
        [](HWND candidate, LPARAM data) -> BOOL {
            wchar_t name[16]{};
            GetClassNameW(candidate, name, 16);
            if (IsWindowVisible(candidate) && lstrcmpW(name, L"#32768") == 0) {
                RECT popup{};
                GetWindowRect(candidate, &popup);
                UnionRect(reinterpret_cast<RECT*>(data), reinterpret_cast<RECT*>(data), &popup);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&area));
    return area;
}

void Photograph(TDemo& demo, const wchar_t* name)
{
    const RECT area = ScreenArea(demo.Window);
    TBitmap shot(area.right - area.left, area.bottom - area.top);
    const TWindowDc screen(nullptr);
    BitBlt(shot.Dc(), 0, 0, shot.Width(), shot.Height(), screen.Handle(), area.left, area.top, SRCCOPY);
    try {
        WritePng(shot, demo.OutputFolder / name);
        std::printf("wrote %ls\n", (demo.OutputFolder / name).c_str());
    } catch (const std::exception& error) {
        std::printf("%s\n", error.what());
        ++demo.Failures;
    }
}

// Paints the View menu's items into an 8-bit bitmap, as on a 256-colour
// display, one of them selected.
void PhotographLowColour(TDemo& demo, const wchar_t* name)
{
    TMenuItem& view = demo.Menu->Items()[1];
    constexpr int ItemWidth = 180;
    constexpr int ItemHeight = 22;
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[256];
    } info{};
    info.Header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), ItemWidth, -(ItemHeight + 1) * view.Count(), 1, 8,
                                   BI_RGB, 0, 0, 0, 256, 0};
    // The 16 colours of a basic palette display, then the system colours.
    const COLORREF basic[] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                              0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    std::vector<COLORREF> palette(std::begin(basic), std::end(basic));
    for (const int index : {COLOR_BTNFACE, COLOR_HIGHLIGHT, COLOR_BTNSHADOW, COLOR_MENUTEXT, COLOR_INACTIVECAPTION})
        palette.push_back(GetSysColor(index));
    palette.resize(256, 0);
    for (std::size_t i = 0; i < 256; ++i)
        info.Colors[i] = RGBQUAD{GetBValue(palette[i]), GetGValue(palette[i]), GetRValue(palette[i]), 0};
    const TMemoryDcHandle dc(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    const TBitmapHandle bitmap(
        CreateDIBSection(dc.get(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    const TSelectGuard selected(dc.get(), bitmap.get());
    {
        TCanvas canvas(dc.get());
        for (int index = 0; index < view.Count(); ++index) {
            const RECT rect{0, index * (ItemHeight + 1), ItemWidth, index * (ItemHeight + 1) + ItemHeight};
            demo.Styler->DrawMenuItem(view[index], canvas, rect, index == 1 || index == 6);
        }
    }
    TBitmap shot(ItemWidth, (ItemHeight + 1) * view.Count());
    BitBlt(shot.Dc(), 0, 0, shot.Width(), shot.Height(), dc.get(), 0, 0, SRCCOPY);
    WritePng(shot, demo.OutputFolder / name);
    std::printf("wrote %ls\n", (demo.OutputFolder / name).c_str());
}

// Own colours with the gradient icon column, the flat popup frame and the
// painted menu bar.
void UseOwnColours(TMenuStyler& styler)
{
    TMenuStylerSettings& settings = styler.Settings;
    styler.SetUseSystemColors(false);
    settings.Color = RgbColor(252, 252, 249);
    settings.IconBackColor = RgbColor(196, 210, 236);
    styler.SetMenuBarColor(RgbColor(214, 224, 242));
    settings.SelectColor = RgbColor(255, 224, 160);
    settings.SelectBorderColor = RgbColor(214, 140, 30);
    settings.SeparatorColor = RgbColor(170, 186, 216);
    settings.CheckedColor = RgbColor(214, 140, 30);
    settings.DisabledColor = RgbColor(150, 150, 150);
    settings.UseDimColor = false;
    settings.Gradient = true;
    settings.FlatMenu = true;
    settings.DrawMenuBar = true;
}

void PressKey(TDemo& demo, WPARAM key)
{
    PostMessageW(demo.Window, WM_KEYDOWN, key, 1);
    PostMessageW(demo.Window, WM_KEYUP, key, 0xC0000001);
}

void OpenMenuBar(TDemo& demo)
{
    PostMessageW(demo.Window, WM_SYSCOMMAND, SC_KEYMENU, 0);
}

void PlanSteps(TDemo& demo)
{
    auto& steps = demo.Steps;
    const auto key = [&demo](WPARAM k) { return [&demo, k] { PressKey(demo, k); }; };
    steps.push_back([&demo] { OpenMenuBar(demo); });
    steps.push_back(key(VK_DOWN));
    steps.push_back(key(VK_DOWN));
    steps.push_back([&demo] { Photograph(demo, L"menustyle-file-menu.png"); });
    steps.push_back(key(VK_RIGHT));
    steps.push_back(key(VK_DOWN));
    steps.push_back([&demo] { Photograph(demo, L"menustyle-view-menu.png"); });
    steps.push_back([&demo] { EndMenu(); });
    steps.push_back([&demo] {
        UseOwnColours(*demo.Styler);
        DrawMenuBar(demo.Window);
        OpenMenuBar(demo);
    });
    steps.push_back(key(VK_DOWN));
    steps.push_back(key(VK_DOWN));
    steps.push_back(key(VK_DOWN));
    steps.push_back(key(VK_DOWN));
    steps.push_back([&demo] { Photograph(demo, L"menustyle-gradient-flat.png"); });
    steps.push_back([&demo] { EndMenu(); });
    steps.push_back([&demo] {
        HWND edit = FindWindowExW(demo.Window, nullptr, L"Edit", nullptr);
        SetFocus(edit);
        HWND cancel = FindWindowExW(demo.Window, nullptr, L"Button", L"Cancel");
        SendMessageW(cancel, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    });
    steps.push_back([&demo] { Photograph(demo, L"menustyle-controls.png"); });
    steps.push_back([&demo] { PhotographLowColour(demo, L"menustyle-low-colour-items.png"); });
    steps.push_back([&demo] { DestroyWindow(demo.Window); });
}

LRESULT CALLBACK DemoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (DispatchMenuMessage(window, message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_TIMER:
        if (wParam == StepTimer && Demo && Demo->NextStep < Demo->Steps.size())
            Demo->Steps[Demo->NextStep++]();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv)
{
    TDemo demo;
    Demo = &demo;
    demo.OutputFolder = argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::current_path();
    std::filesystem::create_directories(demo.OutputFolder);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DemoProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = DemoClassName;
    RegisterClassExW(&windowClass);
    RECT bounds{0, 0, 512, 212};
    AdjustWindowRectEx(&bounds, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, TRUE, 0);
    demo.Window = CreateWindowExW(0, DemoClassName, L"Menu styling", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 40, 40,
                                  bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    BuildMenu(demo);
    BuildControls(demo);
    demo.Form.Window = demo.Window;
    demo.Form.MainMenu = demo.Menu.get();
    demo.Form.Menus = {demo.Menu.get()};
    demo.Styler = std::make_unique<TMenuStyler>(&demo.Form);
    TFont font;
    font.Name = L"Tahoma";
    font.Height = -11;
    font.Color = clMenuText;
    demo.Styler->SetFont(font);
    demo.Styler->SetActive(true);
    ShowWindow(demo.Window, SW_SHOW);
    UpdateWindow(demo.Window);
    PlanSteps(demo);
    SetTimer(demo.Window, StepTimer, StepMilliseconds, nullptr);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    Demo = nullptr;
    demo.Styler.reset();
    return demo.Failures == 0 ? 0 : 1;
}
