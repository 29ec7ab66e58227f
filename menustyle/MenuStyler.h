#pragma once
// The flat menu styling: takes over the painting of a window's main menu and
// popup menus (owner drawing with its own measure and draw steps), and can
// subclass the window's controls to paint them flat (see ControlSubClass.h).

#include "menustyle/Bitmap.h"
#include "menustyle/Canvas.h"
#include "menustyle/Menus.h"
#include "menustyle/portable/WorkColors.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vehmira::menustyle {

enum TXPContainer {
    xccForm, xccFrame, xccToolbar, xccCoolbar, xccControlbar,
    xccPanel, xccScrollBox, xccGroupBox, xccTabSheet, xccPageScroller
};
enum TXPControl {
    xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcEdit, xcMaskEdit, xcMemo,
    xcRichEdit, xcCheckBox, xcRadioButton, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox
};

// A set of enumeration elements stored as a bit mask, element n at bit n.
template <typename TElement>
class TElementSet {
public:
    constexpr TElementSet() = default;
    constexpr explicit TElementSet(std::uint16_t mask) : Bits(mask) {}
    constexpr TElementSet(std::initializer_list<TElement> elements)
    {
        for (const TElement element : elements)
            Bits = static_cast<std::uint16_t>(Bits | (1u << element));
    }
    constexpr bool Contains(TElement element) const { return (Bits >> element) & 1u; }
    constexpr std::uint16_t Mask() const { return Bits; }
    constexpr bool operator==(const TElementSet&) const = default;

private:
    std::uint16_t Bits = 0;
};
using TXPContainers = TElementSet<TXPContainer>;
using TXPControls = TElementSet<TXPControl>;
constexpr TXPContainers AllXPContainers{1023};
constexpr TXPControls AllXPControls{65535};

// A menu, menu item or control with this Tag is never styled.
constexpr int ExcludeTag = 999;
// Lightening steps of the control painters' faces.
constexpr int ControlLightStep = 16;
constexpr int ControlHotLightStep = 40;

// The window the styler sits on: its handle, its menu bar and every menu it
// owns, in the order they were created. Its controls are its child windows.
struct TOwnerForm {
    HWND Window = nullptr;
    TMainMenu* MainMenu = nullptr;
    std::vector<TMenu*> Menus;
};

// The properties that are only stored and show at the next paint.
struct TMenuStylerSettings {
    std::uint8_t DimLevel = 30;
    std::uint8_t GrayLevel = 10;
    TColor Color = clBtnFace;
    bool DrawMenuBar = false;
    TColor IconBackColor = clBtnFace;
    TColor SelectColor = clHighlight;
    TColor SelectBorderColor = clHighlight;
    TColor SelectFontColor = clMenuText;
    TColor DisabledColor = clInactiveCaption;
    TColor SeparatorColor = clBtnFace;
    TColor CheckedColor = clHighlight;
    int IconWidth = 24;
    bool DrawSelect = true;
    bool UseDimColor = false;
    bool OverrideOwnerDraw = false;
    bool Gradient = false;
    bool FlatMenu = false;
    bool AutoDetect = false;
};

class TControlSubClass;

class TMenuStyler {
public:
    // A null owner leaves the styler without a form; destruction then skips
    // the deactivation pass.
    explicit TMenuStyler(TOwnerForm* owner);
    ~TMenuStyler();
    TMenuStyler(const TMenuStyler&) = delete;
    TMenuStyler& operator=(const TMenuStyler&) = delete;

    TMenuStylerSettings Settings;

    const TFont& Font() const { return Font_; }
    void SetFont(const TFont& font);
    TColor MenuBarColor() const { return MenuBarColor_; }
    void SetMenuBarColor(TColor color);
    bool UseSystemColors() const { return UseSystemColors_; }
    void SetUseSystemColors(bool use);
    TXPContainers XPContainers() const { return XPContainers_; }
    void SetXPContainers(TXPContainers containers);
    TXPControls XPControls() const { return XPControls_; }
    void SetXPControls(TXPControls controls);
    bool Active() const { return Active_; }
    void SetActive(bool active);
    TOwnerForm* OwnerForm() const { return Owner; }

    // The owning window has finished creating its menus and controls.
    void Loaded();
    // A control was added to the owning window. (A new menu item needs no
    // call: it is styled when an item of its submenu is next drawn.)
    void ComponentInserted(HWND control);

    void ActivateAll(bool activate, bool redraw);
    void ActivateComponent(TMenu& menu, bool activate, bool redraw);
    void ActivateComponent(HWND control, bool activate, bool redraw);

    void MeasureMenuItem(TMenuItem& item, TCanvas& canvas, int& width, int& height);
    void DrawMenuItem(TMenuItem& item, TCanvas& canvas, RECT rect, bool selected);

    void PrepareColors(TCanvas& canvas);
    const TWorkColors& Work() const { return Work_; }
    SIZE GetItemImageSize(const TMenuItem& item) const;
    void LoadSystemMenuFont();
    void RehookSubmenu(TMenuItem& item);

    void DrawItemCheck(const TMenuItem& item, bool selected, RECT checkRect, TCanvas& canvas, bool hasGlyph,
                       bool enabled);
    // `menuItem` is null when a control's glyph is drawn. The glyph is changed.
    void DrawItemIcon(const TMenuItem* menuItem, TCanvas& canvas, bool rightToLeft, bool barItem, bool checked,
                      bool enabled, bool hot, bool selected, RECT rect, TBitmap& glyph);
    void DrawItemText(TCanvas& canvas, std::wstring_view text, UINT alignment, const TFont& font,
                      bool rightToLeft, bool barItem, bool isDefault, bool enabled, bool selected, RECT textRect,
                      std::wstring_view shortCut);
    void DrawBarSelection(TCanvas& canvas, RECT rect, bool rightToLeft, TColor base);
    void DrawGradient(TCanvas& canvas, RECT rect, bool rightToLeft);
    void DrawFlatBorder(HWND window, bool rightToLeft);

    // The codes bound into the items' slots.
    static void DrawMenuItemStep(void* styler, TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected);
    static void MeasureMenuItemStep(void* styler, TMenuItem& item, TCanvas& canvas, int& width, int& height);

    // The live subclasses of controls; each removes itself when it ends.
    void AddSubClass(std::unique_ptr<TControlSubClass> subClass);
    void ReleaseSubClass(TControlSubClass* subClass);
    TControlSubClass* FindSubClass(HWND control) const;

private:
    bool PrepareGlyph(const TMenuItem& item, TCanvas& canvas, TBitmap& glyph);
    void PaintItemBackground(const TMenuItem& item, TCanvas& canvas, const RECT& r, const RECT& iconRect,
                             bool rightToLeft, bool barItem);
    void PaintItemSelection(const TMenuItem& item, TCanvas& canvas, const RECT& r, bool rightToLeft, bool barItem);
    void PaintItemCaption(const TMenuItem& item, TCanvas& canvas, RECT textRect, bool rightToLeft, bool barItem,
                          bool selected);
    void ApplyItemRule(TMenuItem& item, bool activate);
    void RehookItem(TMenuItem& item);
    void RehookChildren(TMenuItem& item);
    void ActivateMenuItems(TMenu& menu, bool activate);
    void RedrawMenuBar();
    bool IsFormMainMenuItem(const TMenuItem& item) const;

    TOwnerForm* Owner;
    TFont Font_;
    TColor MenuBarColor_ = clBtnFace;
    bool UseSystemColors_ = true;
    TXPContainers XPContainers_;
    TXPControls XPControls_;
    bool Active_ = false;
    TWorkColors Work_;
    std::vector<std::unique_ptr<TControlSubClass>> SubClasses;
};

} // namespace vehmira::menustyle
