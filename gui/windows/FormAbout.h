#pragma once
// The about box: the program's name, version and credits.

#include "gui/framework/Window.h"

class TVehmiraApp;

class TFormAbout : public TForm {
public:
    explicit TFormAbout(TVehmiraApp& app);
    void OKButtonClick();
    void ApplyInterfaceTexts() override;

protected:
    void OnCommand(int id, int notifyCode) override;
};
