#pragma once
// The preview window's model view: the vehicle drawn in perspective. Dragging
// with the left mouse button turns it (sideways about the vertical, up and
// down to look from above or below), the wheel zooms, and ResetPose returns
// to the first view. Pictures are drawn by a worker thread and shown as they
// come.

#include "gui/framework/ChildWindow.h"
#include "gui/framework/Window.h"
#include "gui/preview/ModelRenderWorker.h"
#include "operations/VehiclePreview.h"
#include "win32/Gdi.h"

#include <windows.h>

#include <memory>

namespace vehmira::gui {

inline constexpr const wchar_t* ModelViewClassName = L"VehmiraModelView";

// What the view tells whoever asks (a test, an accessibility tool):
//   ModelViewPicturesMessage  returns how many pictures have arrived
//   ModelViewPoseMessage      wParam 0 yaw, 1 pitch (degrees), 2 zoom; returns it times 100, rounded
inline constexpr UINT ModelViewPicturesMessage = WM_USER + 11;
inline constexpr UINT ModelViewPoseMessage = WM_USER + 12;

class TModelView {
public:
    // A child of parent at bounds (client coordinates) showing the preview's
    // model, or a note that there is none. The preview must outlive the view.
    TModelView(HWND parent, const RECT& bounds, const operations::TVehiclePreview& preview);
    ~TModelView();
    TModelView(const TModelView&) = delete;
    TModelView& operator=(const TModelView&) = delete;

    HWND Handle() const { return Window.Get(); }
    void ResetPose();

private:
    friend LRESULT CALLBACK framework::ChildWindowProcedure<TModelView>(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc);
    void HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void Drag(POINT to);
    void Zoom(int wheelDelta);
    void AskForPicture();
    void PictureArrived();
    LRESULT PoseValue(WPARAM which) const;

    TModelPose Pose;
    bool Dragging = false;
    POINT DragFrom{};
    int Pictures = 0;
    win32::TBitmapHandle Picture;
    int PictureSide = 0;
    framework::TWindowHandle Window;
    std::unique_ptr<TModelRenderWorker> Worker; // after Window: stops before the window goes
};

} // namespace vehmira::gui
