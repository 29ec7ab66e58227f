#pragma once
// A hidden test window with a main menu and a popup menu for the styler, and
// surfaces to draw menu items into.

#include "menustyle/Bitmap.h"
#include "menustyle/MenuStyler.h"
#include "menustyle/Menus.h"

#include <windows.h>

#include <memory>
#include <string>

// A top-level window of a plain test class, destroyed with the object.
class TTestWindow {
public:
    TTestWindow(int clientWidth, int clientHeight, bool visible);
    ~TTestWindow();
    TTestWindow(const TTestWindow&) = delete;
    TTestWindow& operator=(const TTestWindow&) = delete;
    HWND Handle() const { return Window; }
    // A child control of the given class, style and caption.
    HWND AddControl(const wchar_t* className, DWORD style, const wchar_t* caption, RECT bounds,
                    HWND parent = nullptr, DWORD exStyle = 0);

private:
    HWND Window;
};

// Runs the window messages that are waiting.
void PumpMessages();

struct TStylerFixture {
    TStylerFixture();
    TTestWindow Window{300, 200, false};
    vehmira::menustyle::TMainMenu MainMenu{L"MainMenu"};
    vehmira::menustyle::TPopupMenu Popup{L"PopupMenu"};
    vehmira::menustyle::TOwnerForm Form;
    std::unique_ptr<vehmira::menustyle::TMenuStyler> Styler;
};

// An 8-bit surface whose palette holds the current system colours that the
// low-colour painting uses, plus `extra` colours.
class TLowColorSurface {
public:
    TLowColorSurface(int width, int height, std::initializer_list<COLORREF> extra);
    ~TLowColorSurface();
    TLowColorSurface(const TLowColorSurface&) = delete;
    TLowColorSurface& operator=(const TLowColorSurface&) = delete;
    vehmira::menustyle::TCanvas& Canvas() { return *Canvas_; }
    COLORREF Pixel(int x, int y) const { return GetPixel(Dc.get(), x, y); }

private:
    vehmira::win32::TMemoryDcHandle Dc;
    vehmira::win32::TBitmapHandle Bitmap;
    std::unique_ptr<vehmira::win32::TSelectGuard> Selection;
    std::unique_ptr<vehmira::menustyle::TCanvas> Canvas_;
};

// A solid bitmap of `color` whose bottom-left pixel is the transparent magenta.
vehmira::menustyle::TBitmap SolidGlyph(int size, COLORREF color);
constexpr COLORREF GlyphTransparent = RGB(255, 0, 255);
constexpr COLORREF Sentinel = RGB(1, 2, 3);

// True when some pixel of the rectangle has exactly `color`.
bool AnyPixelIs(const vehmira::menustyle::TPixelTarget& surface, const RECT& area, COLORREF color);
