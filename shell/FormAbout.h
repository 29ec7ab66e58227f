#pragma once
// The about box: the program's name, version and credits.

#include "shell/Window.h"

class TVehmiraApp;

class TFormAbout : public TForm {
public:
    explicit TFormAbout(TVehmiraApp& app);
    void Button1Click();

protected:
    void OnCommand(int id, int notifyCode) override;
};
