#include "gui/windows/Application.h"

#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormImportTyp.h"
#include "gui/windows/Form1.h"
#include "gui/windows/FormAbout.h"
#include "gui/windows/FormLanguage.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/InterfaceTexts.h"
#include "gui/framework/ErrorBox.h"

TVehmiraApp::TVehmiraApp(TAppEnvironment environment) : Environment(std::move(environment))
{
    SetFixedMessageRule(FixedMessageFor);
    FormMain = std::make_unique<TFormMain>(*this);
    FormPath = std::make_unique<TFormPath>(*this);
    Form1 = std::make_unique<TForm1>(*this);
    FormImportTyp = std::make_unique<TFormImportTyp>(*this);
    FormCarFiles = std::make_unique<TFormCarFiles>(*this);
    Form_ImportEnde = std::make_unique<TForm_ImportEnde>(*this);
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

int TVehmiraApp::Run()
{
    ShowWindow(FormMain->Handle(), SW_SHOW);
    MSG message{};
    BOOL received;
    while ((received = GetMessageW(&message, nullptr, 0, 0)) != 0 && received != -1)
        DispatchFormMessage(message);
    return received == 0 ? static_cast<int>(message.wParam) : 1;
}
