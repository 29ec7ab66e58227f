#pragma once
// The program's eight windows, created once at start in a fixed order and
// living until the end of the run.

#include "gui/windows/AppEnvironment.h"
#include "gui/wizard/ImportWizardHost.h"

#include <memory>

namespace vehmira::gui {

class TFormMain;
class TFormPath;
class TForm1;
class TFormImportTyp;
class TFormCarFiles;
class TForm_ImportEnde;
class TFormLanguage;
class TFormAbout;

class TVehmiraApp {
public:
    // Creates the windows: FormMain first (it is the main window), then
    // FormPath, Form1, FormImportTyp, FormCarFiles, Form_ImportEnde,
    // FormLanguage and FormAbout. Creating FormPath and FormLanguage reads
    // the settings file.
    explicit TVehmiraApp(TAppEnvironment environment);
    ~TVehmiraApp();
    TVehmiraApp(const TVehmiraApp&) = delete;
    TVehmiraApp& operator=(const TVehmiraApp&) = delete;

    // Shows the main window, which runs the start-up sequence, and runs the
    // message loop until the main window is closed. Returns the exit code.
    int Run();

    // Makes `languageName` (a section of the language file) the interface
    // language and shows its texts in every window at once.
    void ApplyLanguage(const std::wstring& languageName);

    TAppEnvironment Environment;
    std::unique_ptr<TFormMain> FormMain;
    std::unique_ptr<TFormPath> FormPath;
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TFormImportTyp> FormImportTyp;
    std::unique_ptr<TFormCarFiles> FormCarFiles;
    std::unique_ptr<TForm_ImportEnde> Form_ImportEnde;
    std::unique_ptr<TFormLanguage> FormLanguage;
    std::unique_ptr<TFormAbout> FormAbout;

private:
    // The wizard's steps find one another here.
    TImportWizardSteps WizardSteps;
};

} // namespace vehmira::gui
