#include "gui/windows/Application.h"

#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormImportTyp.h"
#include "gui/windows/Form1.h"
#include "gui/windows/FormAbout.h"
#include "gui/windows/FormLanguage.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"
#include "gui/common/InterfaceTexts.h"
#include "gui/common/Language.h"
#include "gui/framework/ErrorBox.h"

#include <memory>
#include <type_traits>

namespace vehmira::gui {

TVehmiraApp::TVehmiraApp(TAppEnvironment environment) : Environment(std::move(environment))
{
    framework::SetFixedMessageRule(FixedMessageFor);
    framework::SetWordingRule(WordedErrorMessage);
    framework::SetUnknownErrorText([] { return InterfaceText(TTextKey::UnknownError); });
    // Before any language is chosen the windows speak the Windows interface's language.
    std::wstring language = StoredLanguageName(Environment.SettingsFile);
    if (language == L"NONE")
        language = LanguageForUiLanguage(GetUserDefaultUILanguage());
    SetCurrentLanguage(TLanguage::Load(Environment.LanguageFile, language));
    FormMain = std::make_unique<TFormMain>(*this);
    FormPath = std::make_unique<TFormPath>(*this);
    Form1 = std::make_unique<TForm1>(*this);
    FormImportTyp = std::make_unique<TFormImportTyp>(*FormMain, WizardSteps);
    FormCarFiles = std::make_unique<TFormCarFiles>(*FormMain, WizardSteps);
    Form_ImportEnde = std::make_unique<TForm_ImportEnde>(*FormMain, WizardSteps);
    WizardSteps = {FormImportTyp.get(), FormCarFiles.get(), Form_ImportEnde.get()};
    FormLanguage = std::make_unique<TFormLanguage>(*this);
    FormAbout = std::make_unique<TFormAbout>(*this);
}

// The dialogs go first: the system would otherwise destroy them with their owner.
TVehmiraApp::~TVehmiraApp()
{
    FormAbout.reset();
    FormLanguage.reset();
    Form_ImportEnde.reset();
    FormCarFiles.reset();
    FormImportTyp.reset();
    Form1.reset();
    FormPath.reset();
    FormMain.reset();
}

void TVehmiraApp::ApplyLanguage(const std::wstring& languageName)
{
    SetCurrentLanguage(TLanguage::Load(Environment.LanguageFile, languageName));
    for (framework::TForm* form : std::initializer_list<framework::TForm*>{
             FormMain.get(), FormPath.get(), Form1.get(), FormImportTyp.get(), FormCarFiles.get(),
             Form_ImportEnde.get(), FormLanguage.get(), FormAbout.get()})
        if (form)
            form->ApplyInterfaceTexts();
}

int TVehmiraApp::Run()
{
    ShowWindow(FormMain->Handle(), SW_SHOW);
    // F5 refreshes the list wherever the focus is in the main window; a modal
    // window runs its own loop, so the key never reaches past it.
    ACCEL refresh{FVIRTKEY, VK_F5, RefreshMenu};
    const std::unique_ptr<std::remove_pointer_t<HACCEL>, decltype(&DestroyAcceleratorTable)> accelerators(
        CreateAcceleratorTableW(&refresh, 1), &DestroyAcceleratorTable);
    MSG message{};
    BOOL received;
    while ((received = GetMessageW(&message, nullptr, 0, 0)) != 0 && received != -1)
        if (!accelerators || !TranslateAcceleratorW(FormMain->Handle(), accelerators.get(), &message))
            framework::DispatchFormMessage(message);
    return received == 0 ? static_cast<int>(message.wParam) : 1;
}

} // namespace vehmira::gui
