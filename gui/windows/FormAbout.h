#pragma once
// The about box: the program's name, version and credits.

#include "gui/framework/Window.h"

namespace vehmira::gui {

class TVehmiraApp;

class TFormAbout : public framework::TForm {
public:
    explicit TFormAbout(TVehmiraApp& app);
    void OKButtonClick();
    void ApplyInterfaceTexts() override;

protected:
    void OnCommand(int id, int notifyCode) override;
};

} // namespace vehmira::gui
