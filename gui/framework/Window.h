#pragma once
// The window framework every form of the program is built on: forms created
// from a table of controls, one window procedure that keeps exceptions away
// from the system, and modal showing in the manner of a modal form.

#include "win32/Gdi.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::gui::framework {

// Owns a window; destroys it unless the system already did.
class TWindowHandle {
public:
    TWindowHandle() = default;
    explicit TWindowHandle(HWND handle) : Handle(handle) {}
    TWindowHandle(TWindowHandle&& other) noexcept : Handle(other.Release()) {}
    TWindowHandle& operator=(TWindowHandle&& other) noexcept;
    TWindowHandle(const TWindowHandle&) = delete;
    TWindowHandle& operator=(const TWindowHandle&) = delete;
    ~TWindowHandle() { Reset(); }

    HWND Get() const { return Handle; }
    HWND Release();
    void Reset(HWND handle = nullptr);

private:
    HWND Handle = nullptr;
};

// The program's font: Tahoma 8 point (height -11 at 96 DPI), plain or bold;
// shared by every form laid out for that DPI.
HFONT FormFont(bool bold = false, int dpi = 96);

enum class TControlKind {
    Label, BoldLabel, Edit, Button, CheckBox, RadioButton, GroupBox, DropDownList, ListView, ProgressBar,
    // Read-only text of any length: it wraps and scrolls instead of growing.
    TextBox
};

// One control of a form, as written for 96 DPI. Positions are relative to the
// parent control when Parent is given (a group box), else to the form's client
// area. A label of width 0 sizes itself to its text. Controls are created in
// table order, which is their tab order. Whatever the written size, a control
// grows to show its whole text (see TForm::LayOut).
struct TControlLayout {
    TControlKind Kind;
    std::string_view Name;
    std::string_view Parent;
    int Left, Top, Width, Height;
    std::wstring_view Caption;
    DWORD ExtraStyle = 0;
};

enum class TBorderKind { Single, Dialog, Sizeable };

struct TFormLayout {
    std::wstring_view Caption;
    int Width, Height; // the client area, unless OuterSize
    TBorderKind Border;
    bool SystemMenu = false; // the close box comes with it
    bool MinimizeBox = false;
    bool MaximizeBox = false;
    bool OuterSize = false;
    bool HasMenu = false;
};

// Control ids start here, so no control ever has IDOK or IDCANCEL: Enter and
// Escape reach a form's buttons only as it names them (TForm::SetDialogKeys).
inline constexpr int FirstControlId = 100;

class TForm {
public:
    TForm(const TFormLayout& form, std::span<const TControlLayout> controls, HWND owner);
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    HWND Handle() const { return Window.Get(); }
    // The control of that name; an unknown name is a programming error and throws.
    HWND Control(std::string_view name) const;
    int ControlId(std::string_view name) const;
    std::wstring ControlText(std::string_view name) const;
    void SetControlText(std::string_view name, std::wstring_view text);
    bool IsChecked(std::string_view name) const;

    // Shows the form and returns when it closes: every other window of the
    // thread is disabled meanwhile; the form is hidden, not destroyed, so its
    // controls keep their state for the next showing.
    void ShowModal();
    // Ends the modal showing (or hides a modeless form).
    void Close();

    void CentreOnScreen();

    // Sets the texts of the current interface language; every form that shows
    // translatable texts overrides it and ends with LayOut().
    virtual void ApplyInterfaceTexts() {}
    // Places every control at its written position scaled to the form's DPI,
    // grows each to show its whole text with its own font (a wrapped label
    // first wider, up to the form's edge, then taller), grows a group box
    // round its grown controls and the form round them all; a form whose
    // texts fit keeps its written size.
    void LayOut();
    int Dpi() const { return FormDpi; }

protected:
    // Enter clicks defaultButton (drawn as the default) and Escape clicks
    // cancelButton, each only while enabled, as in the system's dialogs; an
    // empty cancelButton lets Escape close the form.
    void SetDialogKeys(std::string_view defaultButton, std::string_view cancelButton);

    // Runs each time the form is shown modally, before it becomes visible.
    virtual void FormShow() {}
    // A control's WM_COMMAND (clicks, selection changes) and menu commands.
    virtual void OnCommand(int id, int notifyCode);
    // Any message, before the default handling; a value stops that handling.
    virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_DESTROY of the form's window.
    virtual void OnDestroy() {}
    // After the controls were placed for the DPI and their texts (at creation
    // the form's own constructor, which runs later, calls it itself).
    virtual void OnLaidOut() {}

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(std::span<const TControlLayout> controls);
    HWND CreateControl(const TControlLayout& layout, int id, RECT& written);

    struct TNamedControl {
        std::string Name;
        HWND Handle;
        int Id;
        TControlKind Kind;
        RECT Written; // in the form's client area at 96 DPI; a drop-down list without its list
        bool SizeToText;
        int ParentIndex; // the group box's index, or -1
    };
    SIZE FittedSize(const TNamedControl& control, RECT placed, int rightLimit) const;
    // How far right a wrapped label may grow: to the nearest control beside
    // its written rows, or else to the form's edge.
    int RightLimit(std::size_t index, int clientWidth) const;
    void ResizeForm(SIZE client);
    // Enter's IDOK and Escape's IDCANCEL, from the dialog keys; false for any other command.
    bool DialogKeyCommand(int id);

    TWindowHandle Window;
    SIZE WrittenClient{};
    bool OuterSize = false;
    bool HasMenu = false;
    int FormDpi = 96;
    std::vector<TNamedControl> Controls;
    HWND DefaultButton = nullptr;
    HWND CancelButton = nullptr;
    bool HasDialogKeys = false;
    int ModalDepth = 0;
    bool ModalEnding = false;
};

// Dispatches one message, giving the forms the dialog keys (Tab, arrows).
void DispatchFormMessage(MSG& message);

} // namespace vehmira::gui::framework
