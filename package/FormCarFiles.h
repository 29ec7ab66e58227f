#pragma once
// Import wizard, the separate-files dialog: DFF and TXD files, the name and the text lines.

#include "shell/Window.h"

class TVehmiraApp;

class TFormCarFiles : public TForm {
public:
    explicit TFormCarFiles(TVehmiraApp& app);

private:
    TVehmiraApp& App;
};
