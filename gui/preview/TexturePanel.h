#pragma once
// The preview window's panel of textures: a thumbnail per texture on a
// checkerboard, its name, size and format beneath, in rows that scroll.
// Painted by the panel itself; the thumbnails arrive from a worker thread and
// show as they come.

#include "gui/framework/ChildWindow.h"
#include "gui/framework/Window.h"
#include "gui/preview/CutNameTips.h"
#include "gui/preview/ThumbnailWorker.h"
#include "renderware/TextureDictionary.h"
#include "win32/Gdi.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace vehmira::gui {

inline constexpr const wchar_t* TexturePanelClassName = L"VehmiraTexturePanel";

// What the panel tells whoever asks (a test, an accessibility tool):
//   TexturePanelCountMessage   returns the number of textures shown
//   TexturePanelReadyMessage   returns how many thumbnails have arrived
//   TexturePanelNameMessage    wParam the index, lParam a wchar_t[64]: the
//                              texture's name copied in; returns its length
inline constexpr UINT TexturePanelCountMessage = WM_USER + 1;
inline constexpr UINT TexturePanelReadyMessage = WM_USER + 2;
inline constexpr UINT TexturePanelNameMessage = WM_USER + 3;
//   TexturePanelTipsMessage    returns the tooltip window over the cut names
inline constexpr UINT TexturePanelTipsMessage = WM_USER + 4;
inline constexpr std::size_t TexturePanelNameLength = 64;

class TTexturePanel {
public:
    // A child of parent at bounds (client coordinates) showing the
    // dictionary's textures, or a note that there are none when it is null;
    // its cells, thumbnails and texts are laid out for dpi. The dictionary
    // must outlive the panel.
    TTexturePanel(HWND parent, const RECT& bounds, const renderware::TTextureDictionary* dictionary, int dpi);
    ~TTexturePanel();
    TTexturePanel(const TTexturePanel&) = delete;
    TTexturePanel& operator=(const TTexturePanel&) = delete;

    HWND Handle() const { return Window.Get(); }

private:
    struct TCellMetrics {
        int ThumbnailSide, CellWidth, TextLineHeight, CellHeight, Margin;
        static TCellMetrics ForDpi(int dpi);
    };
    struct TCell {
        std::wstring Name;
        std::wstring Size;
        std::wstring Format;
        win32::TBitmapHandle Thumbnail;
    };

    friend LRESULT CALLBACK framework::ChildWindowProcedure<TTexturePanel>(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ThumbnailArrived(std::size_t index);
    void Paint(HDC dc, const RECT& dirty);
    void PaintCell(HDC dc, const TCell& cell, int left, int top);
    int Columns() const;
    int ContentHeight() const;
    void UpdateScrollBar();
    // Where each name is drawn now; the tooltips follow after a scroll or a resize.
    void UpdateNameTips();
    void ScrollTo(int position);
    void ScrollBy(UINT code);
    LRESULT CopyName(WPARAM index, LPARAM buffer) const;

    int Dpi;
    TCellMetrics Metrics;
    std::vector<TCell> Cells;
    int ScrollTop = 0;
    int Ready = 0;
    framework::TWindowHandle Window;
    std::unique_ptr<TCutNameTips> NameTips;
    std::unique_ptr<TThumbnailWorker> Worker; // after Window: stops before the window goes
};

} // namespace vehmira::gui
