// The preview window, opened from the main window's menu for the selected
// vehicle of the demo game and from the replace dialog for a package or a
// separate dictionary file: its textures, their thumbnails and its summary.

#include "demo/DemoGame.h"
#include "fileio/FileSystem.h"
#include "gui/common/Language.h"
#include "gui/GuiFixture.h"
#include "gui/framework/Dpi.h"
#include "gui/ImportGuiSupport.h"
#include "gui/framework/WideText.h"
#include "gui/preview/ModelView.h"
#include "gui/preview/PreviewTexts.h"
#include "gui/preview/TexturePanel.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/MainMenu.h"
#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormImportTyp.h"
#include "support/RwStreamBuilder.h"

#include <commctrl.h>

#include <chrono>

using namespace vehmira::demo;
using namespace vehmira::fileio;
using namespace vehmira::gui;
using namespace vehmira::gui::framework;

namespace {
using namespace RwTest;

// What the user sees in the preview window.
struct TPreviewSeen {
    std::vector<std::wstring> Names; // under the thumbnails, in order
    int Thumbnails = 0;              // arrived from the worker
    std::wstring Summary;
    std::wstring Title;
    std::vector<std::wstring> Tips; // the tooltips over the names, in order
    std::chrono::milliseconds Opened{};
    bool ModelDrawn = false;         // the model view received a picture
    bool ResetEnabled = false;       // "Сбросить вид" can be pressed
};

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

HWND VisiblePreview()
{
    HWND found = nullptr;
    EnumWindows(&FindPreviewWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Waits for the preview, reads it once every thumbnail has arrived, and closes it with "Закрыть".
TPreviewSeen ReadAndClosePreview(TUser& user)
{
    const auto asked = std::chrono::steady_clock::now();
    HWND preview = nullptr;
    user.WaitUntil([&] { return (preview = VisiblePreview()) != nullptr; }, "the preview window");
    TPreviewSeen shown;
    shown.Opened = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - asked);
    HWND panel = FindWindowExW(preview, nullptr, TexturePanelClassName, nullptr);
    if (!panel)
        throw TUserStepFailed("the preview has no texture panel");
    const auto count = static_cast<int>(SendMessageW(panel, TexturePanelCountMessage, 0, 0));
    user.WaitUntil([&] { return SendMessageW(panel, TexturePanelReadyMessage, 0, 0) == count; }, "the thumbnails");
    shown.Thumbnails = static_cast<int>(SendMessageW(panel, TexturePanelReadyMessage, 0, 0));
    for (int index = 0; index < count; ++index) {
        wchar_t name[TexturePanelNameLength] = {};
        SendMessageW(panel, TexturePanelNameMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
        shown.Names.emplace_back(name);
    }
    shown.Summary = user.Text(FindWindowExW(preview, nullptr, L"Edit", nullptr));
    shown.Title = user.Text(preview);
    HWND tips = reinterpret_cast<HWND>(SendMessageW(panel, TexturePanelTipsMessage, 0, 0));
    const auto tipCount = static_cast<int>(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0));
    for (int index = 0; index < tipCount; ++index) {
        wchar_t text[80] = {};
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.lpszText = text;
        SendMessageW(tips, TTM_ENUMTOOLSW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tool));
        shown.Tips.emplace_back(text);
    }
    HWND model = FindWindowExW(preview, nullptr, ModelViewClassName, nullptr);
    if (!model)
        throw TUserStepFailed("the preview has no model view");
    shown.ResetEnabled = IsWindowEnabled(FindWindowExW(preview, nullptr, L"Button", L"&Сбросить вид"));
    if (shown.ResetEnabled)
        user.WaitUntil([&] { return SendMessageW(model, ModelViewPicturesMessage, 0, 0) > 0; }, "the model's picture");
    shown.ModelDrawn = SendMessageW(model, ModelViewPicturesMessage, 0, 0) > 0;
    user.Click(FindWindowExW(preview, nullptr, L"Button", L"Закрыть"));
    user.WaitUntil([&] { return !IsWindow(preview); }, "the preview to close");
    return shown;
}

void ExpectSummaryHolds(const std::wstring& summary, const std::vector<std::wstring>& lines)
{
    for (const std::wstring& line : lines)
        EXPECT_NE(summary.find(line + L"\r\n"), std::wstring::npos) << Utf8(line) << " in\n" << Utf8(summary);
}

ByteBuffer TwoTextureDictionary(const std::string& secondName = "glass")
{
    TTestTexture body;
    body.Name = "body";
    body.RasterFormat = 0x0200;
    body.D3DFormatOrAlpha = 0x31545844; // "DXT1"
    body.Width = 64;
    body.Height = 32;
    body.Depth = 16;
    body.Flags = 8 | 1;
    body.Levels = {ByteBuffer(64 * 32 / 2)}; // DXT1: 8 bytes a 4 x 4 block
    TTestTexture glass;
    glass.Name = secondName;
    glass.Width = 16;
    glass.Height = 16;
    return TextureDictionary({TextureNative(body), TextureNative(glass)});
}

ByteBuffer ModelWithSharedTexture()
{
    TTestModel model;
    model.Geometries = {TTestGeometry{.TextureNames = {"body", "glass", "vehiclegrunge256"}}};
    return Model(model);
}

class TPreviewWindowTest : public TGuiTest {
protected:
    void SetUp() override
    {
        WriteDemoGame(GameDir());
        WriteCompleteSettings();
        EXPECT_NO_PROBLEMS(Start());
    }
    void TearDown() override
    {
        TGuiTest::TearDown();
        SetLayoutDpiOverride(0);
    }
    int RowOf(const std::wstring& id) const
    {
        const TListRows rows = Rows();
        for (std::size_t row = 0; row < rows.size(); ++row)
            if (rows[row].first == id)
                return static_cast<int>(row);
        ADD_FAILURE() << "no row " << Utf8(id);
        return 0;
    }
    std::filesystem::path WritePackage() const
    {
        const ByteBuffer model = ModelWithSharedTexture();
        const ByteBuffer dictionary = TwoTextureDictionary();
        ByteBuffer bytes = {'C', 'A', 'R', 2, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0};
        for (const std::size_t length : {model.size(), dictionary.size(), std::size_t(0), std::size_t(0),
                                         std::size_t(0), std::size_t(0), std::size_t(0)})
            AppendU32LE(bytes, static_cast<std::uint32_t>(length));
        AppendBytes(bytes, model);
        AppendBytes(bytes, dictionary);
        return Temp.Write("two.car", bytes);
    }
};

// The button went into free room: every written control keeps its place and
// none is covered.
TEST_F(TPreviewWindowTest, PreviewButtonOfTheReplaceDialogCoversNothing)
{
    TForm_ImportEnde& replace = *App->Form_ImportEnde;
    const RECT button = RectIn(replace.Control("PreviewButton"), replace.Handle());
    EXPECT_EQ(button.left, 280);
    EXPECT_EQ(button.top, 19);
    RECT client{};
    GetClientRect(replace.Handle(), &client);
    RECT inside{};
    IntersectRect(&inside, &button, &client);
    EXPECT_TRUE(EqualRect(&inside, &button)) << "inside the dialog";
    const struct {
        const char* Name;
        RECT Written;
    } controls[] = {
        {"QuestionLabel", {37, 16, 198, 47}},
        {"VehiclesGroup", {32, 56, 345, 321}},
        {"BackButton", {32, 420, 129, 445}},
        {"CancelButton", {140, 420, 237, 445}},
        {"ReplaceButton", {248, 420, 345, 445}},
    };
    for (const auto& control : controls) {
        SCOPED_TRACE(control.Name);
        // Written positions stay; a text that needs more room grows its control (here the
        // question grows taller, never into the button beside it).
        const RECT now = RectIn(replace.Control(control.Name), replace.Handle());
        EXPECT_EQ(now.left, control.Written.left);
        EXPECT_EQ(now.top, control.Written.top);
        EXPECT_GE(now.right, control.Written.right);
        EXPECT_GE(now.bottom, control.Written.bottom);
        RECT overlap{};
        EXPECT_FALSE(IntersectRect(&overlap, &now, &button));
    }
}

TEST_F(TPreviewWindowTest, MenuShowsTheSelectedGameVehicle)
{
    SelectRow(RowOf(L"596"));
    TPreviewSeen shown;
    EXPECT_NO_PROBLEMS(Menu(PreviewMenu, [&](TUser& user) { shown = ReadAndClosePreview(user); }));
    EXPECT_EQ(shown.Names, (std::vector<std::wstring>{L"copcarla_body"}));
    EXPECT_EQ(shown.Title, L"Просмотр транспортного средства: copcarla (596)") << "the title names the vehicle";
    EXPECT_EQ(shown.Thumbnails, 1);
    EXPECT_TRUE(shown.Tips.empty()) << "a name that fits has no tooltip";
    EXPECT_TRUE(shown.ModelDrawn);
    EXPECT_TRUE(shown.ResetEnabled);
    EXPECT_LT(shown.Opened.count(), 1000) << "the window opens at once";
    ExpectSummaryHolds(shown.Summary, {L"Модель: RenderWare 3.6.0.3, PC", L"Фреймы: 15", L"Части: 5",
                                      L"Текстуры модели: copcarla_body",
                                      L"Словарь текстур: RenderWare 3.6.0.3, PC, текстур: 1",
                                      L"Общий словарь Vehicle.txd: в игре нет",
                                      L"Все текстуры модели есть в её словаре."});
    EXPECT_TRUE(IsWindowEnabled(App->FormMain->Handle())) << "the main window takes input again";
}

// A double click on a vehicle of the list previews it.
TEST_F(TPreviewWindowTest, ADoubleClickOnAVehiclePreviewsIt)
{
    const int row = RowOf(L"596");
    SelectRow(row);
    TPreviewSeen shown;
    HWND list = App->FormMain->Control("List_ID");
    EXPECT_NO_PROBLEMS(Act(
        [&] {
            NMITEMACTIVATE click{};
            click.hdr.hwndFrom = list;
            click.hdr.idFrom = UINT_PTR(GetDlgCtrlID(list));
            click.hdr.code = NM_DBLCLK;
            click.iItem = row;
            SendMessageW(App->FormMain->Handle(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        },
        [&](TUser& user) { shown = ReadAndClosePreview(user); }));
    EXPECT_EQ(shown.Title, L"Просмотр транспортного средства: copcarla (596)");
}

// At 144 DPI the written window is wider than the test's 1280-pixel screen:
// it fits the screen, the texture panel and the summary keep their widths and
// the model view takes what is left.
TEST_F(TPreviewWindowTest, PanesAndTheirTextsScaleWithTheDpi)
{
    SelectRow(RowOf(L"596"));
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        SetLayoutDpiOverride(dpi);
        RECT panel{}, model{}, summary{}, client{}, outer{};
        LOGFONTW font{};
        EXPECT_NO_PROBLEMS(Menu(PreviewMenu, [&](TUser& user) {
            HWND preview = nullptr;
            user.WaitUntil([&] { return (preview = VisiblePreview()) != nullptr; }, "the preview window");
            panel = RectIn(FindWindowExW(preview, nullptr, TexturePanelClassName, nullptr), preview);
            model = RectIn(FindWindowExW(preview, nullptr, ModelViewClassName, nullptr), preview);
            HWND summaryEdit = FindWindowExW(preview, nullptr, L"Edit", nullptr);
            summary = RectIn(summaryEdit, preview);
            GetClientRect(preview, &client);
            GetWindowRect(preview, &outer);
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(summaryEdit, WM_GETFONT, 0, 0)), sizeof(font), &font);
            user.Click(FindWindowExW(preview, nullptr, L"Button", L"Закрыть"));
            user.WaitUntil([&] { return !IsWindow(preview); }, "the preview to close");
        }));
        SetLayoutDpiOverride(0);
        const auto scale = [dpi](int value) { return ScaleToDpi(value, dpi); };
        const auto shown = [](const RECT& r) {
            return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                   std::to_string(r.bottom);
        };
        // The panes end where the button row begins.
        const int panesBottom = client.bottom - (scale(440) - scale(400));
        const RECT writtenPanel{scale(8), scale(8), scale(372), panesBottom};
        EXPECT_TRUE(EqualRect(&panel, &writtenPanel)) << "the texture panel at " << shown(panel);
        EXPECT_EQ(model.left, scale(380)) << "the model view at " << shown(model);
        EXPECT_EQ(model.right, summary.left - scale(8)) << "the model view at " << shown(model);
        EXPECT_EQ(summary.right - summary.left, scale(916) - scale(712)) << "the summary at " << shown(summary);
        EXPECT_NEAR(summary.right, client.right - scale(8), 1) << "the summary at " << shown(summary);
        for (const RECT& pane : {model, summary})
            EXPECT_TRUE(pane.top == scale(8) && pane.bottom == panesBottom) << shown(pane);
        EXPECT_LE(outer.right - outer.left, GetSystemMetrics(SM_CXSCREEN)) << "the window fits the screen";
        if (dpi == 96)
            EXPECT_EQ(model.right, scale(704)) << "the written layout where it fits";
        EXPECT_EQ(font.lfHeight, -ScaleToDpi(11, dpi)) << "the summary's text";
    }
}

TEST_F(TPreviewWindowTest, MenuWithoutSelectionAsksForAVehicleFirst)
{
    EXPECT_NO_PROBLEMS(Menu(PreviewMenu, [](TUser& user) {
        EXPECT_EQ(user.AnswerMessageBox().Text, NoVehicleSelectedText);
    }));
}

TEST_F(TPreviewWindowTest, ReplaceDialogShowsTheDroppedPackage)
{
    const std::filesystem::path package = WritePackage();
    TForm_ImportEnde& replace = *App->Form_ImportEnde;
    TPreviewSeen shown;
    EXPECT_NO_PROBLEMS(Act([&] { replace.ShowModalForPackage(package); },
                           [&](TUser& user) {
                               user.WaitShown(replace.Handle(), "the replace dialog");
                               user.Click(replace.Control("PreviewButton"));
                               shown = ReadAndClosePreview(user);
                               EXPECT_TRUE(IsWindowVisible(replace.Handle())) << "the replace dialog stays";
                               user.Click(replace.Control("CancelButton"));
                               user.WaitHidden(replace.Handle(), "the replace dialog");
                           }));
    EXPECT_EQ(shown.Names, (std::vector<std::wstring>{L"body", L"glass"}));
    EXPECT_EQ(shown.Title, L"Просмотр транспортного средства: " + package.filename().wstring());
    EXPECT_EQ(shown.Thumbnails, 2);
    EXPECT_TRUE(shown.ModelDrawn) << "the package's model is drawn";
    ExpectSummaryHolds(shown.Summary, {L"Словарь текстур: RenderWare 3.6.0.3, PC, текстур: 2",
                                      L"Нет в своём словаре: vehiclegrunge256",
                                      L"Не найдены нигде: vehiclegrunge256"});
}

TEST_F(TPreviewWindowTest, ReplaceDialogShowsTheSeparateDictionaryOfTheWizard)
{
    // A name wider than its cell is cut there, and its tooltip holds it whole.
    const std::string longName = "texture_name_too_long_for_cell";
    const std::filesystem::path dictionary = Temp.Write("car.txd", TwoTextureDictionary(longName));
    TFormImportTyp& kind = *App->FormImportTyp;
    TFormCarFiles& files = *App->FormCarFiles;
    TForm_ImportEnde& replace = *App->Form_ImportEnde;
    TPreviewSeen shown;
    EXPECT_NO_PROBLEMS(ClickMain("Button_Import", [&](TUser& user) {
        user.WaitShown(kind.Handle(), "the import-kind dialog");
        user.Click(kind.Control("Radio_ImportFiles"));
        user.Click(kind.Control("Button_Next"));
        user.WaitShown(files.Handle(), "the separate-files dialog");
        user.SetText(files.Control("Edit_TXD"), dictionary.wstring());
        user.Click(files.Control("NextButton"));
        user.WaitShown(replace.Handle(), "the replace dialog");
        user.Click(replace.Control("PreviewButton"));
        shown = ReadAndClosePreview(user);
        user.Click(replace.Control("CancelButton"));
        WaitUntil([&] { return IsWindowEnabled(App->FormMain->Handle()) && !IsWindowVisible(replace.Handle()); },
                  "the wizard to close");
    }));
    EXPECT_EQ(shown.Names, (std::vector<std::wstring>{L"body", Wide(longName)}));
    EXPECT_EQ(shown.Tips, (std::vector<std::wstring>{Wide(longName)})) << "only the cut name has a tooltip";
    ExpectSummaryHolds(shown.Summary, {L"Модель: файл не указан."});
    EXPECT_FALSE(shown.ModelDrawn);
    EXPECT_FALSE(shown.ResetEnabled) << "no model to turn back";
}

// The model view turns with a drag, zooms with the wheel, and "Сбросить вид"
// brings back the first view; every change is drawn anew by the worker.
TEST_F(TPreviewWindowTest, ModelViewTurnsZoomsAndResets)
{
    SelectRow(RowOf(L"596"));
    struct TPose {
        LRESULT Yaw, Pitch, Zoom;
    };
    std::vector<TPose> poses;
    EXPECT_NO_PROBLEMS(Menu(PreviewMenu, [&](TUser& user) {
        HWND preview = nullptr;
        user.WaitUntil([&] { return (preview = VisiblePreview()) != nullptr; }, "the preview window");
        HWND model = FindWindowExW(preview, nullptr, ModelViewClassName, nullptr);
        if (!model)
            throw TUserStepFailed("the preview has no model view");
        const auto pictures = [&] { return SendMessageW(model, ModelViewPicturesMessage, 0, 0); };
        const auto pose = [&] {
            poses.push_back({SendMessageW(model, ModelViewPoseMessage, 0, 0), SendMessageW(model, ModelViewPoseMessage, 1, 0),
                             SendMessageW(model, ModelViewPoseMessage, 2, 0)});
        };
        user.WaitUntil([&] { return pictures() >= 1; }, "the first picture");
        pose();
        LRESULT seen = pictures();
        SendMessageW(model, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
        SendMessageW(model, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(140, 110));
        SendMessageW(model, WM_LBUTTONUP, 0, MAKELPARAM(140, 110));
        SendMessageW(model, WM_MOUSEMOVE, 0, MAKELPARAM(200, 200)); // no button: no turn
        pose();
        user.WaitUntil([&] { return pictures() > seen; }, "the turned picture");
        seen = pictures();
        SendMessageW(model, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        pose();
        user.WaitUntil([&] { return pictures() > seen; }, "the zoomed picture");
        seen = pictures();
        user.Click(FindWindowExW(preview, nullptr, L"Button", L"&Сбросить вид"));
        user.WaitUntil([&] { return pictures() > seen; }, "the reset picture");
        pose();
        user.Click(FindWindowExW(preview, nullptr, L"Button", L"Закрыть"));
        user.WaitUntil([&] { return !IsWindow(preview); }, "the preview to close");
    }));
    ASSERT_EQ(poses.size(), 4u);
    EXPECT_EQ(poses[0].Yaw, -3500);
    EXPECT_EQ(poses[0].Pitch, 2000);
    EXPECT_EQ(poses[0].Zoom, 100);
    EXPECT_EQ(poses[1].Yaw, -1500) << "40 pixels to the right turn 20 degrees";
    EXPECT_EQ(poses[1].Pitch, 2500) << "10 pixels down raise the view 5 degrees";
    EXPECT_EQ(poses[2].Zoom, 115) << "one notch of the wheel";
    EXPECT_EQ(poses[3].Yaw, -3500);
    EXPECT_EQ(poses[3].Pitch, 2000);
    EXPECT_EQ(poses[3].Zoom, 100);
}

} // namespace
