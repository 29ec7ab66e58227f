#include "gui/preview/ModelView.h"

#include "gui/preview/PreviewBitmap.h"
#include "gui/framework/Dpi.h"
#include "gui/common/Language.h"
#include "operations/VehicleRender.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vehmira::gui {

namespace {

constexpr UINT PictureMessage = WM_APP + 21;
constexpr float DegreesPerPixel = 0.5f;
constexpr float ZoomPerWheelNotch = 1.15f;
constexpr int LargestPicture = 1024;

void DrawNote(HDC dc, const std::wstring& text, RECT area)
{
    DrawTextW(dc, text.c_str(), int(text.size()), &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace

TModelView::TModelView(HWND parent, const RECT& bounds, const operations::TVehiclePreview& preview)
{
    framework::RegisterChildWindowClass(ModelViewClassName, &framework::ChildWindowProcedure<TModelView>, IDC_SIZEALL);
    Window.Reset(CreateWindowExW(WS_EX_CLIENTEDGE, ModelViewClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                 bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                 parent, nullptr, GetModuleHandleW(nullptr), this));
    if (!Window.Get())
        throw std::runtime_error("the model view cannot be created");
    if (!preview.Drawing)
        return;
    Worker = std::make_unique<TModelRenderWorker>(
        *preview.Drawing, preview.SharedDictionary ? &*preview.SharedDictionary : nullptr,
        preview.Dictionary ? &*preview.Dictionary : nullptr, operations::PaintOf(preview), Window.Get(),
        PictureMessage);
    AskForPicture();
}

TModelView::~TModelView()
{
    Worker.reset();
    if (HWND window = Window.Get())
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

void TModelView::ResetPose()
{
    const std::uint32_t side = Pose.Side;
    Pose = TModelPose{};
    Pose.Side = side;
    AskForPicture();
}

LRESULT TModelView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = Window.Get();
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        Paint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        AskForPicture();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_MOUSEWHEEL:
        HandleMouse(message, wParam, lParam);
        return 0;
    case PictureMessage:
        PictureArrived();
        return 0;
    case ModelViewPicturesMessage:
        return Pictures;
    case ModelViewPoseMessage:
        return PoseValue(wParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void TModelView::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = Window.Get();
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (message == WM_LBUTTONDOWN) {
        SetFocus(window);
        SetCapture(window);
        Dragging = true;
        DragFrom = at;
    } else if (message == WM_MOUSEMOVE && Dragging) {
        Drag(at);
    } else if (message == WM_LBUTTONUP || message == WM_CAPTURECHANGED) {
        if (Dragging && message == WM_LBUTTONUP)
            ReleaseCapture();
        Dragging = false;
    } else if (message == WM_MOUSEWHEEL) {
        Zoom(GET_WHEEL_DELTA_WPARAM(wParam));
    }
}

void TModelView::Drag(POINT to)
{
    Pose.YawDegrees = std::remainder(Pose.YawDegrees + float(to.x - DragFrom.x) * DegreesPerPixel, 360.0f);
    Pose.PitchDegrees = std::clamp(Pose.PitchDegrees + float(to.y - DragFrom.y) * DegreesPerPixel, -89.0f, 89.0f);
    DragFrom = to;
    AskForPicture();
}

void TModelView::Zoom(int wheelDelta)
{
    Pose.Zoom = std::clamp(Pose.Zoom * std::pow(ZoomPerWheelNotch, float(wheelDelta) / WHEEL_DELTA), render::MinZoom,
                           render::MaxZoom);
    AskForPicture();
}

// The picture is square, as large as the view's client area allows.
void TModelView::AskForPicture()
{
    if (!Worker)
        return;
    RECT client{};
    GetClientRect(Window.Get(), &client);
    Pose.Side = std::uint32_t(std::clamp(int(std::min(client.right, client.bottom)), 1, LargestPicture));
    Worker->Request(Pose);
}

void TModelView::PictureArrived()
{
    if (!Worker)
        return;
    std::optional<renderware::TRgbaImage> picture = Worker->Take();
    if (!picture)
        return;
    Picture = MakeOpaqueBitmap(*picture);
    PictureSide = int(picture->Width);
    ++Pictures;
    InvalidateRect(Window.Get(), nullptr, FALSE);
}

void TModelView::Paint(HDC target)
{
    RECT client{};
    GetClientRect(Window.Get(), &client);
    win32::TMemoryDcHandle dc(CreateCompatibleDC(target));
    win32::TBitmapHandle canvas(
        CreateCompatibleBitmap(target, std::max<int>(1, client.right), std::max<int>(1, client.bottom)));
    win32::TSelectGuard canvasSelected(dc.get(), canvas.get());
    FillRect(dc.get(), &client, GetSysColorBrush(COLOR_WINDOW));
    win32::TSelectGuard fontSelected(dc.get(), framework::FormFont(false, framework::WindowDpi(Window.Get())));
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), GetSysColor(COLOR_WINDOWTEXT));
    if (!Worker) {
        DrawNote(dc.get(), InterfaceText(TTextKey::NoModel), client);
    } else if (!Picture) {
        DrawNote(dc.get(), L"…", client);
    } else {
        win32::TMemoryDcHandle source(CreateCompatibleDC(dc.get()));
        win32::TSelectGuard selected(source.get(), Picture.get());
        BitBlt(dc.get(), (client.right - PictureSide) / 2, (client.bottom - PictureSide) / 2, PictureSide, PictureSide,
               source.get(), 0, 0, SRCCOPY);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
}

LRESULT TModelView::PoseValue(WPARAM which) const
{
    const float value = which == 0 ? Pose.YawDegrees : which == 1 ? Pose.PitchDegrees : Pose.Zoom;
    return LRESULT(std::lround(value * 100));
}

} // namespace vehmira::gui
