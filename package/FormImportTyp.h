#pragma once
// Import wizard, the import-kind dialog: a package or separate files.

#include "shell/Window.h"

class TVehmiraApp;

class TFormImportTyp : public TForm {
public:
    explicit TFormImportTyp(TVehmiraApp& app);

private:
    TVehmiraApp& App;
};
