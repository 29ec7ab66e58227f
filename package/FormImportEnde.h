#pragma once
// Import wizard, the replace dialog: the target vehicle, and the import runs here.

#include "shell/Window.h"

class TVehmiraApp;

class TForm_ImportEnde : public TForm {
public:
    explicit TForm_ImportEnde(TVehmiraApp& app);

private:
    TVehmiraApp& App;
};
