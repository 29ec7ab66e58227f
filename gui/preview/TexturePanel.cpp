#include "gui/preview/TexturePanel.h"

#include "gui/common/Language.h"

#include "gui/preview/PreviewBitmap.h"
#include "gui/preview/PreviewTexts.h"
#include "gui/framework/Dpi.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <stdexcept>

namespace vehmira::gui {

namespace {

constexpr UINT ThumbnailMessage = WM_APP + 20;

void DrawLine(HDC dc, const std::wstring& text, RECT area)
{
    DrawTextW(dc, text.c_str(), int(text.size()), &area, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

} // namespace

// The cells as written for 96 DPI, scaled to the panel's.
TTexturePanel::TCellMetrics TTexturePanel::TCellMetrics::ForDpi(int dpi)
{
    TCellMetrics metrics;
    metrics.ThumbnailSide = framework::ScaleToDpi(96, dpi);
    metrics.CellWidth = framework::ScaleToDpi(112, dpi);
    metrics.TextLineHeight = framework::ScaleToDpi(14, dpi);
    metrics.Margin = framework::ScaleToDpi(4, dpi);
    metrics.CellHeight = metrics.Margin + metrics.ThumbnailSide + metrics.Margin + 3 * metrics.TextLineHeight +
                         2 * metrics.Margin;
    return metrics;
}


TTexturePanel::TTexturePanel(HWND parent, const RECT& bounds, const renderware::TTextureDictionary* dictionary,
                             int dpi)
    : Dpi(dpi), Metrics(TCellMetrics::ForDpi(dpi))
{
    framework::RegisterChildWindowClass(TexturePanelClassName, &framework::ChildWindowProcedure<TTexturePanel>, IDC_ARROW);
    if (dictionary)
        for (const renderware::TTextureRecord& texture : dictionary->Textures())
            Cells.push_back({TextureCellName(texture), TextureCellSize(texture), TextureCellFormat(texture), {}});
    Window.Reset(CreateWindowExW(WS_EX_CLIENTEDGE, TexturePanelClassName, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL |
                                                                             WS_TABSTOP,
                                 bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                 parent, nullptr, GetModuleHandleW(nullptr), this));
    if (!Window.Get())
        throw std::runtime_error("the texture panel cannot be created");
    NameTips = std::make_unique<TCutNameTips>(Window.Get());
    UpdateScrollBar();
    UpdateNameTips();
    if (dictionary && !Cells.empty())
        Worker =
            std::make_unique<TThumbnailWorker>(*dictionary, Metrics.ThumbnailSide, Window.Get(), ThumbnailMessage);
}

TTexturePanel::~TTexturePanel()
{
    Worker.reset();
    if (HWND window = Window.Get())
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

LRESULT TTexturePanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = Window.Get();
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        Paint(dc, paint.rcPaint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        UpdateScrollBar();
        UpdateNameTips();
        return 0;
    case WM_VSCROLL:
        ScrollBy(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(ScrollTop - GET_WHEEL_DELTA_WPARAM(wParam) * (Metrics.CellHeight / 2) / WHEEL_DELTA);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(window);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
        const UINT codes[][2] = {{VK_UP, SB_LINEUP}, {VK_DOWN, SB_LINEDOWN}, {VK_PRIOR, SB_PAGEUP},
                                 {VK_NEXT, SB_PAGEDOWN}, {VK_HOME, SB_TOP}, {VK_END, SB_BOTTOM}};
        for (const auto& [key, code] : codes)
            if (wParam == key)
                ScrollBy(code);
        return 0;
    }
    case ThumbnailMessage:
        ThumbnailArrived(wParam);
        return 0;
    case TexturePanelCountMessage:
        return LRESULT(Cells.size());
    case TexturePanelReadyMessage:
        return Ready;
    case TexturePanelNameMessage:
        return CopyName(wParam, lParam);
    case TexturePanelTipsMessage:
        return reinterpret_cast<LRESULT>(NameTips ? NameTips->Handle() : nullptr);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void TTexturePanel::ThumbnailArrived(std::size_t index)
{
    if (!Worker || index >= Cells.size())
        return;
    std::optional<renderware::TRgbaImage> thumbnail = Worker->Take(index);
    if (!thumbnail)
        return;
    Cells[index].Thumbnail = MakeOpaqueBitmap(*thumbnail);
    ++Ready;
    const int column = int(index) % Columns();
    const int row = int(index) / Columns();
    RECT cell{Metrics.Margin + column * Metrics.CellWidth, Metrics.Margin + row * Metrics.CellHeight - ScrollTop,
              0, 0};
    cell.right = cell.left + Metrics.CellWidth;
    cell.bottom = cell.top + Metrics.CellHeight;
    InvalidateRect(Window.Get(), &cell, FALSE);
}

int TTexturePanel::Columns() const
{
    RECT client{};
    GetClientRect(Window.Get(), &client);
    return std::max(1, int(client.right - 2 * Metrics.Margin) / Metrics.CellWidth);
}

int TTexturePanel::ContentHeight() const
{
    const int rows = (int(Cells.size()) + Columns() - 1) / Columns();
    return 2 * Metrics.Margin + rows * Metrics.CellHeight;
}

void TTexturePanel::Paint(HDC target, const RECT& dirty)
{
    RECT client{};
    GetClientRect(Window.Get(), &client);
    // Drawn off screen first, so that scrolling does not flicker.
    win32::TMemoryDcHandle dc(CreateCompatibleDC(target));
    win32::TBitmapHandle canvas(
        CreateCompatibleBitmap(target, std::max<int>(1, client.right), std::max<int>(1, client.bottom)));
    win32::TSelectGuard canvasSelected(dc.get(), canvas.get());
    FillRect(dc.get(), &client, GetSysColorBrush(COLOR_WINDOW));
    win32::TSelectGuard fontSelected(dc.get(), framework::FormFont(false, Dpi));
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), GetSysColor(COLOR_WINDOWTEXT));
    if (Cells.empty())
        DrawLine(dc.get(), InterfaceText(TTextKey::NoTextures),
                 RECT{0, Metrics.Margin * 4, client.right, Metrics.Margin * 4 + Metrics.TextLineHeight});
    const int columns = Columns();
    for (std::size_t index = 0; index < Cells.size(); ++index) {
        const int left = Metrics.Margin + int(index) % columns * Metrics.CellWidth;
        const int top = Metrics.Margin + int(index) / columns * Metrics.CellHeight - ScrollTop;
        if (top + Metrics.CellHeight < dirty.top || top > dirty.bottom)
            continue;
        PaintCell(dc.get(), Cells[index], left, top);
    }
    BitBlt(target, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, dc.get(), dirty.left,
           dirty.top, SRCCOPY);
}

void TTexturePanel::PaintCell(HDC dc, const TCell& cell, int left, int top)
{
    const int thumbnailLeft = left + (Metrics.CellWidth - Metrics.ThumbnailSide) / 2;
    const int thumbnailTop = top + Metrics.Margin;
    if (cell.Thumbnail) {
        win32::TMemoryDcHandle source(CreateCompatibleDC(dc));
        win32::TSelectGuard selected(source.get(), cell.Thumbnail.get());
        BitBlt(dc, thumbnailLeft, thumbnailTop, Metrics.ThumbnailSide, Metrics.ThumbnailSide, source.get(), 0, 0,
               SRCCOPY);
    } else {
        // Still being decoded.
        const RECT frame{thumbnailLeft, thumbnailTop, thumbnailLeft + Metrics.ThumbnailSide,
                         thumbnailTop + Metrics.ThumbnailSide};
        FrameRect(dc, &frame, GetSysColorBrush(COLOR_GRAYTEXT));
        const int middle = frame.top + Metrics.ThumbnailSide / 2;
        DrawLine(dc, L"…",
                 RECT{frame.left, middle - Metrics.TextLineHeight / 2, frame.right, middle + Metrics.TextLineHeight / 2});
    }
    int textTop = thumbnailTop + Metrics.ThumbnailSide + Metrics.Margin;
    for (const std::wstring* line : {&cell.Name, &cell.Size, &cell.Format}) {
        DrawLine(dc, *line,
                 RECT{left + 2, textTop, left + Metrics.CellWidth - 2, textTop + Metrics.TextLineHeight});
        textTop += Metrics.TextLineHeight;
    }
}

void TTexturePanel::UpdateNameTips()
{
    if (!NameTips)
        return;
    std::vector<TNameLine> lines;
    const int columns = Columns();
    for (std::size_t index = 0; index < Cells.size(); ++index) {
        const int left = Metrics.Margin + int(index) % columns * Metrics.CellWidth;
        const int top = Metrics.Margin + int(index) / columns * Metrics.CellHeight - ScrollTop;
        // The first text line under the thumbnail, as PaintCell draws it.
        const int nameTop = top + Metrics.Margin + Metrics.ThumbnailSide + Metrics.Margin;
        lines.push_back({&Cells[index].Name,
                         RECT{left + 2, nameTop, left + Metrics.CellWidth - 2, nameTop + Metrics.TextLineHeight}});
    }
    NameTips->Update(lines, framework::FormFont(false, Dpi));
}

void TTexturePanel::UpdateScrollBar()
{
    RECT client{};
    GetClientRect(Window.Get(), &client);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = ContentHeight() - 1;
    info.nPage = UINT(std::max<LONG>(client.bottom, 0));
    ScrollTop = std::clamp(ScrollTop, 0, std::max(0, ContentHeight() - int(client.bottom)));
    info.nPos = ScrollTop;
    SetScrollInfo(Window.Get(), SB_VERT, &info, TRUE);
}

void TTexturePanel::ScrollTo(int position)
{
    RECT client{};
    GetClientRect(Window.Get(), &client);
    const int limit = std::max(0, ContentHeight() - int(client.bottom));
    const int target = std::clamp(position, 0, limit);
    if (target == ScrollTop)
        return;
    ScrollTop = target;
    SetScrollPos(Window.Get(), SB_VERT, ScrollTop, TRUE);
    UpdateNameTips();
    InvalidateRect(Window.Get(), nullptr, FALSE);
}

void TTexturePanel::ScrollBy(UINT code)
{
    RECT client{};
    GetClientRect(Window.Get(), &client);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(Window.Get(), SB_VERT, &info);
    switch (code) {
    case SB_LINEUP: ScrollTo(ScrollTop - Metrics.CellHeight / 4); break;
    case SB_LINEDOWN: ScrollTo(ScrollTop + Metrics.CellHeight / 4); break;
    case SB_PAGEUP: ScrollTo(ScrollTop - int(client.bottom)); break;
    case SB_PAGEDOWN: ScrollTo(ScrollTop + int(client.bottom)); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(ContentHeight()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(info.nTrackPos); break;
    default: break;
    }
}

LRESULT TTexturePanel::CopyName(WPARAM index, LPARAM buffer) const
{
    if (index >= Cells.size() || buffer == 0)
        return 0;
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    const std::wstring& name = Cells[index].Name;
    const std::size_t length = std::min(name.size(), TexturePanelNameLength - 1);
    std::wmemcpy(out, name.data(), length);
    out[length] = L'\0';
    return LRESULT(length);
}

} // namespace vehmira::gui
