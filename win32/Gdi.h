#pragma once
// Owning wrappers for the GDI objects the styling creates, and scoped guards
// for selecting objects into a device context and for its saved state.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace vehmira::win32 {

struct TGdiObjectDeleter {
    void operator()(HGDIOBJ object) const
    {
        if (object)
            DeleteObject(object);
    }
};

template <typename Handle>
using TGdiHandle = std::unique_ptr<std::remove_pointer_t<Handle>, TGdiObjectDeleter>;

using TPenHandle = TGdiHandle<HPEN>;
using TBrushHandle = TGdiHandle<HBRUSH>;
using TFontHandle = TGdiHandle<HFONT>;
using TBitmapHandle = TGdiHandle<HBITMAP>;

struct TMemoryDcDeleter {
    void operator()(HDC dc) const
    {
        if (dc)
            DeleteDC(dc);
    }
};
using TMemoryDcHandle = std::unique_ptr<std::remove_pointer_t<HDC>, TMemoryDcDeleter>;

// A device context borrowed from a window (or the whole screen when the window
// is null), released again on destruction.
class TWindowDc {
public:
    explicit TWindowDc(HWND window, bool wholeWindow = false)
        : Window(window), Dc(wholeWindow ? GetWindowDC(window) : GetDC(window))
    {
    }
    ~TWindowDc()
    {
        if (Dc)
            ReleaseDC(Window, Dc);
    }
    TWindowDc(const TWindowDc&) = delete;
    TWindowDc& operator=(const TWindowDc&) = delete;
    HDC Handle() const { return Dc; }

private:
    HWND Window;
    HDC Dc;
};

// Selects an object into a device context and puts the previous one back.
class TSelectGuard {
public:
    TSelectGuard(HDC dc, HGDIOBJ object) : Dc(dc), Previous(SelectObject(dc, object)) {}
    ~TSelectGuard()
    {
        if (Previous && Previous != HGDI_ERROR)
            SelectObject(Dc, Previous);
    }
    TSelectGuard(const TSelectGuard&) = delete;
    TSelectGuard& operator=(const TSelectGuard&) = delete;

private:
    HDC Dc;
    HGDIOBJ Previous;
};

// Saves the whole state of a device context (selected objects, modes, colours)
// and restores it on destruction.
class TSavedDcState {
public:
    explicit TSavedDcState(HDC dc) : Dc(dc), Saved(SaveDC(dc)) {}
    ~TSavedDcState()
    {
        if (Saved)
            RestoreDC(Dc, Saved);
    }
    TSavedDcState(const TSavedDcState&) = delete;
    TSavedDcState& operator=(const TSavedDcState&) = delete;

private:
    HDC Dc;
    int Saved;
};

} // namespace vehmira::win32
