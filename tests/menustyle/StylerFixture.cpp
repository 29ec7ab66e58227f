#include "menustyle/StylerFixture.h"

#include <vector>

using namespace vehmira::menustyle;
using namespace vehmira::win32;

namespace {

constexpr wchar_t TestClassName[] = L"VehmiraMenuStyleTest";

void RegisterTestClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        LRESULT result = 0;
        if (DispatchMenuMessage(window, message, wParam, lParam, result))
            return result;
        return DefWindowProcW(window, message, wParam, lParam);
    };
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = TestClassName;
    registered = RegisterClassExW(&windowClass) != 0;
}

} // namespace

TTestWindow::TTestWindow(int clientWidth, int clientHeight, bool visible)
{
    RegisterTestClass();
    RECT bounds{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&bounds, WS_OVERLAPPEDWINDOW, FALSE, 0);
    Window = CreateWindowExW(0, TestClassName, L"Styler test", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10,
                             10, bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
}

TTestWindow::~TTestWindow()
{
    if (Window)
        DestroyWindow(Window);
    PumpMessages();
}

HWND TTestWindow::AddControl(const wchar_t* className, DWORD style, const wchar_t* caption, RECT bounds, HWND parent,
                             DWORD exStyle)
{
    const HWND control = CreateWindowExW(exStyle, className, caption, WS_CHILD | WS_VISIBLE | style, bounds.left,
                                         bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                         parent ? parent : Window, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

TStylerFixture::TStylerFixture()
{
    Form.Window = Window.Handle();
    Form.MainMenu = &MainMenu;
    Form.Menus = {&MainMenu, &Popup};
    MainMenu.AttachTo(Window.Handle());
    Styler = std::make_unique<TMenuStyler>(&Form);
    TFont font;
    font.Name = L"Tahoma";
    font.Height = -11;
    font.Color = clMenuText;
    Styler->SetFont(font);
}

TLowColorSurface::TLowColorSurface(int width, int height, std::initializer_list<COLORREF> extra)
{
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[256];
    } info{};
    info.Header.biSize = sizeof(info.Header);
    info.Header.biWidth = width;
    info.Header.biHeight = -height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = 8;
    info.Header.biCompression = BI_RGB;
    info.Header.biClrUsed = 256;
    std::vector<COLORREF> palette = {RGB(255, 255, 255), RGB(0, 0, 0), RGB(192, 192, 192)};
    for (const int index : {COLOR_BTNFACE, COLOR_HIGHLIGHT, COLOR_BTNSHADOW, COLOR_MENUTEXT, COLOR_WINDOW})
        palette.push_back(GetSysColor(index));
    palette.insert(palette.end(), extra.begin(), extra.end());
    for (int grey = 0; palette.size() < 256; grey += 4)
        palette.push_back(RGB(grey, grey + 1, grey));
    for (std::size_t i = 0; i < 256; ++i)
        info.Colors[i] = RGBQUAD{GetBValue(palette[i]), GetGValue(palette[i]), GetRValue(palette[i]), 0};
    Dc.reset(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    Bitmap.reset(CreateDIBSection(Dc.get(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    Selection = std::make_unique<TSelectGuard>(Dc.get(), Bitmap.get());
    Canvas_ = std::make_unique<TCanvas>(Dc.get());
}

TLowColorSurface::~TLowColorSurface()
{
    Canvas_.reset();
    Selection.reset();
}

TBitmap SolidGlyph(int size, COLORREF color)
{
    TBitmap glyph(size, size);
    glyph.Fill(color);
    glyph.SetPixel(0, size - 1, GlyphTransparent);
    return glyph;
}

bool AnyPixelIs(const TPixelTarget& surface, const RECT& area, COLORREF color)
{
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (surface.Pixel(x, y) == color)
                return true;
    return false;
}
