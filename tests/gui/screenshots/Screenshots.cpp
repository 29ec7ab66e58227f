// vehmira_screenshots OUTPUT_DIR [LANGUAGE [DPI]]: renders the program's
// windows as a person sees them on screen into PNG files: the main window with
// the demo game's list, the path, language and about dialogs, the three import
// dialogs, the preview window of the selected vehicle and of a car-like model
// of our own making, and the open "Файл" menu. LANGUAGE is "ru" (the default) or "en"
// for the shipped language file's Russian or English, DPI the one the windows
// are laid out for (96 by default); other than the defaults they add "-en" and
// "-<DPI>dpi" to the file names. Its working files (a demo game, settings) stay
// in OUTPUT_DIR\work.

#include "demo/DemoGame.h"
#include "fileio/FileSystem.h"
#include "menustyle/Bitmap.h"
#include "renderware/PngWriter.h"
#include "gui/common/Language.h"
#include "gui/UserThread.h"
#include "gui/preview/FormPreview.h"
#include "gui/preview/ModelView.h"
#include "gui/preview/PreviewTexts.h"
#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormImportTyp.h"
#include "gui/windows/Application.h"
#include "gui/windows/FormAbout.h"
#include "gui/windows/FormLanguage.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"
#include "gui/framework/Dpi.h"
#include "gui/framework/WideText.h"
#include "operations/VehiclePreview.h"
#include "support/ClumpBuilder.h"

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

using namespace vehmira::demo;
using namespace vehmira::gui;
using namespace vehmira::gui::framework;

namespace {

constexpr DWORD PaintMilliseconds = 600;

// Lets the windows paint before the screen is read (on the user thread, while
// the GUI thread runs a modal loop).
void LetPaint()
{
    Sleep(PaintMilliseconds);
}

// Handles the GUI thread's messages for a while (its windows paint meanwhile).
void PumpMessages(DWORD milliseconds)
{
    const DWORD end = GetTickCount() + milliseconds;
    MSG message;
    while (GetTickCount() < end) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchFormMessage(message);
        Sleep(10);
    }
}

// Copies a rectangle of the screen into a PNG file.
void CaptureScreen(RECT area, const std::filesystem::path& file)
{
    vehmira::menustyle::TBitmap shot(area.right - area.left, area.bottom - area.top);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Dc(), 0, 0, shot.Width(), shot.Height(), screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    const vehmira::renderware::TRgbaImage image{static_cast<std::uint32_t>(shot.Width()),
                                                static_cast<std::uint32_t>(shot.Height()), shot.RgbaPixels()};
    vehmira::fileio::ReplaceFileAtomically(file, vehmira::renderware::EncodePng(image));
}

void CaptureWindow(HWND window, const std::filesystem::path& file)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    // A window wider than the virtual screen (the preview at 144 DPI) reaches
    // past its edges, where the screen has no pixels to copy: its visible part is taken.
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&bounds, &bounds, &screen);
    CaptureScreen(bounds, file);
}

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM found)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring_view(className) == L"#32768" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Shows a dialog modally, photographs it from the user thread and closes it.
void CaptureDialog(TForm& form, const char* closeButton, const std::filesystem::path& file)
{
    std::cout << "Capturing " << file.filename().string() << std::endl;
    const std::vector<std::string> problems = RunAsUser([&] { form.ShowModal(); },
                                                        [&](TUser& user) {
                                                            user.WaitShown(form.Handle(), "the dialog");
                                                            LetPaint();
                                                            CaptureWindow(form.Handle(), file);
                                                            user.Click(form.Control(closeButton));
                                                            user.WaitHidden(form.Handle(), "the dialog");
                                                        },
                                                        {GetWindow(form.Handle(), GW_OWNER)});
    for (const std::string& problem : problems)
        std::cerr << problem << '\n';
}

BOOL CALLBACK FindPreviewWindow(HWND window, LPARAM found)
{
    // The title names what is shown after the written words.
    wchar_t caption[128] = {};
    GetWindowTextW(window, caption, 128);
    if (IsWindowVisible(window) && std::wstring_view(caption).starts_with(InterfaceText(TTextKey::PreviewCaptionOf, {L""}))) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The preview window opened by `open`, photographed once its model is drawn.
void CaptureOpenedPreview(TVehmiraApp& app, const std::function<void()>& open, const std::filesystem::path& file)
{
    std::cout << "Capturing " << file.filename().string() << std::endl;
    HWND main = app.FormMain->Handle();
    const std::vector<std::string> problems = RunAsUser(
        open,
        [&](TUser& user) {
            HWND preview = nullptr;
            user.WaitUntil(
                [&] {
                    EnumWindows(&FindPreviewWindow, reinterpret_cast<LPARAM>(&preview));
                    return preview != nullptr;
                },
                "the preview window");
            HWND model = FindWindowExW(preview, nullptr, ModelViewClassName, nullptr);
            user.WaitUntil([&] { return model && SendMessageW(model, ModelViewPicturesMessage, 0, 0) > 0; },
                           "the model's picture");
            LetPaint();
            CaptureWindow(preview, file);
            user.Click(FindWindowExW(preview, nullptr, L"Button", InterfaceText(TTextKey::CloseButton).c_str()));
            user.WaitUntil([&] { return !IsWindow(preview); }, "the preview to close");
        },
        {main});
    for (const std::string& problem : problems)
        std::cerr << problem << '\n';
}

// "Файл" → "Просмотр" for the selected vehicle.
void CapturePreview(TVehmiraApp& app, const std::filesystem::path& file)
{
    HWND main = app.FormMain->Handle();
    CaptureOpenedPreview(app, [&] { SendMessageW(main, WM_COMMAND, MAKEWPARAM(PreviewMenu, 0), 0); }, file);
}

// The preview of a car-like model with its dictionary, painted red and white,
// as the replace dialog shows files about to be imported.
void CaptureModelPreview(TVehmiraApp& app, const std::filesystem::path& work, const std::filesystem::path& file)
{
    const RwTest::TVehicleStreams car = RwTest::CarLikeVehicle(40, 64, 128);
    const std::filesystem::path dff = work / "showroom.dff", txd = work / "showroom.txd";
    std::ofstream(dff, std::ios::binary).write(reinterpret_cast<const char*>(car.Model.data()),
                                               static_cast<std::streamsize>(car.Model.size()));
    std::ofstream(txd, std::ios::binary).write(reinterpret_cast<const char*>(car.Dictionary.data()),
                                               static_cast<std::streamsize>(car.Dictionary.size()));
    HWND main = app.FormMain->Handle();
    CaptureOpenedPreview(
        app,
        [&] {
            vehmira::operations::TVehiclePreview preview = vehmira::operations::PreviewFiles(dff, txd, std::nullopt);
            preview.Colours = vehmira::gamedata::TVehicleColours{{170, 20, 30}, {235, 235, 235}};
            ShowVehiclePreview(main, std::move(preview), dff.filename().wstring());
        },
        file);
}

void CaptureOpenMenu(TVehmiraApp& app, const std::filesystem::path& file)
{
    std::cout << "Capturing " << file.filename().string() << std::endl;
    HWND main = app.FormMain->Handle();
    RECT item{};
    GetMenuItemRect(main, GetMenu(main), 0, &item);
    const std::vector<std::string> problems = RunAsUser(
        [] { PumpMessages(4000); }, // the menu's own loop runs inside the dispatch of the click
        [&](TUser& user) {
            // A click on "Файл" in the menu bar, as the system reports it to the window.
            const POINT click{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
            PostMessageW(main, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(click.x, click.y));
            HWND popup = nullptr;
            user.WaitUntil(
                [&] {
                    EnumWindows(&FindMenuWindow, reinterpret_cast<LPARAM>(&popup));
                    return popup != nullptr;
                },
                "the open menu");
            LetPaint();
            RECT window{};
            RECT menu{};
            GetWindowRect(main, &window);
            GetWindowRect(popup, &menu);
            RECT both{};
            UnionRect(&both, &window, &menu);
            CaptureScreen(both, file);
            // The last picture: end here rather than unwind the menu's own loop.
            ExitProcess(0);
        },
        {main});
    for (const std::string& problem : problems)
        std::cerr << problem << '\n';
}

void WriteSettings(const std::filesystem::path& settings, const std::filesystem::path& game,
                   const std::wstring& language)
{
    const std::wstring text = L"[Dorvelin]\r\nPath=" + std::filesystem::absolute(game).wstring() +
                              L"\\\r\n[Vehmira]\r\nLanguage=" + language + L"\r\nGXT=American.gxt\r\n";
    std::ofstream file(settings, std::ios::binary);
    file.write("\xFF\xFE", 2);
    file.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
}

// The tree's Vehmira.lng as the build writes it beside the program: UTF-16, CR LF.
void WriteLanguageFile(const std::filesystem::path& languages)
{
    std::ifstream source(VEHMIRA_LANGUAGE_SOURCE, std::ios::binary);
    if (!source)
        throw std::runtime_error("cannot read " VEHMIRA_LANGUAGE_SOURCE);
    const std::string utf8((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    std::wstring text;
    for (wchar_t c : Wide(utf8)) {
        if (c == L'\n')
            text += L'\r';
        text += c;
    }
    std::ofstream file(languages, std::ios::binary);
    file.write("\xFF\xFE", 2);
    file.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
}

void RenderWindows(const TAppEnvironment& environment, const std::filesystem::path& output, const std::wstring& suffix)
{
    const auto picture = [&](const wchar_t* name) { return output / (name + suffix + L".png"); };
    TVehmiraApp app(environment);
    HWND main = app.FormMain->Handle();
    ShowWindow(main, SW_SHOW);
    PumpMessages(PaintMilliseconds); // the start-up sequence runs here
    ListView_SetItemState(app.FormMain->Control("List_ID"), 1, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    PumpMessages(PaintMilliseconds);
    CaptureWindow(main, picture(L"main-window"));
    CaptureDialog(*app.FormPath, "Button_Cancel", picture(L"path-dialog"));
    CaptureDialog(*app.FormLanguage, "Button_Cancel", picture(L"language-dialog"));
    CaptureDialog(*app.FormAbout, "OKButton", picture(L"about-box"));
    CaptureDialog(*app.FormImportTyp, "Button_Cancel", picture(L"import-kind-dialog"));
    CaptureDialog(*app.FormCarFiles, "CancelButton", picture(L"separate-files-dialog"));
    CaptureDialog(*app.Form_ImportEnde, "CancelButton", picture(L"replace-dialog"));
    CapturePreview(app, picture(L"preview-window"));
    CaptureModelPreview(app, output / "work", picture(L"preview-window-model"));
    CaptureOpenMenu(app, picture(L"menu-file"));
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || argc > 4) {
        std::cerr << "usage: vehmira_screenshots OUTPUT_DIR [LANGUAGE [DPI]]\n";
        return 2;
    }
    try {
        const std::filesystem::path output = argv[1];
        const bool english = argc > 2 && std::wstring_view(argv[2]) == L"en";
        const std::wstring language = english ? L"English" : L"Русский";
        const int dpi = argc > 3 ? std::stoi(argv[3]) : WrittenDpi;
        std::wstring suffix = english ? L"-en" : L"";
        if (dpi != WrittenDpi)
            suffix += L"-" + std::to_wstring(dpi) + L"dpi";
        SetLayoutDpiOverride(dpi);
        const std::filesystem::path work = output / "work";
        std::filesystem::create_directories(work);
        WriteDemoGame(work / "demo-game");
        TAppEnvironment environment;
        environment.SettingsFile = work / "Settings.ini";
        environment.LanguageFile = work / "Vehmira.lng";
        environment.FileDialogs = &SystemFileDialogs();
        WriteSettings(environment.SettingsFile, work / "demo-game", language);
        WriteLanguageFile(environment.LanguageFile);

        RenderWindows(environment, output, suffix); // ends the process after the last picture
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "vehmira_screenshots: " << error.what() << '\n';
        return 1;
    }
}
