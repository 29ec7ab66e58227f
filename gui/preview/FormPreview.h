#pragma once
// The preview window "Просмотр транспортного средства": the textures as
// thumbnails on the left, the model drawn in the middle (turned by dragging,
// zoomed by the wheel, reset by a button), the model's summary and the
// texture check on the right. Created for one preview and shown modally over its owner.

#include "gui/framework/Window.h"
#include "gui/preview/ModelView.h"
#include "gui/preview/TexturePanel.h"
#include "operations/VehiclePreview.h"

#include <memory>

namespace vehmira::gui {

class TFormPreview : public framework::TForm {
public:
    // subject names what is shown (a vehicle, a package, a model file) in the title.
    TFormPreview(HWND owner, operations::TVehiclePreview preview, std::wstring_view subject);
    ~TFormPreview() override;

    void CloseButtonClick();
    void ResetViewButtonClick();

protected:
    void OnCommand(int id, int notifyCode) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FitIntoWorkArea();
    void LayOutPanes(int clientWidth, int clientHeight);

    operations::TVehiclePreview Preview;
    std::unique_ptr<TTexturePanel> Panel; // after Preview: its worker reads the dictionary
    std::unique_ptr<TModelView> Model;    // after Preview: its worker reads the model and the dictionaries
    HWND Summary = nullptr;               // a child window: the form destroys it
    SIZE LaidOutClient{};                 // the client area the written layout fills
    SIZE LastGain{};                      // how far the buttons have moved from their places
};

// Shows the preview over owner and returns when the user closes it.
void ShowVehiclePreview(HWND owner, operations::TVehiclePreview preview, std::wstring_view subject);

} // namespace vehmira::gui
