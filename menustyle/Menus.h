#pragma once
// A menu model over real Win32 menus: a tree of items whose captions, states
// and owner drawing are mirrored into HMENUs, with the two replaceable
// painting slots that owner drawing calls through WM_MEASUREITEM and WM_DRAWITEM.

#include "menustyle/Bitmap.h"
#include "menustyle/Canvas.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vehmira::menustyle {

class TMenu;
class TMenuItem;

// A painting slot: a plain function bound to an object. Two slots hold "the
// same step" when their functions are the same, whatever object is bound.
template <typename... Arguments>
struct TMenuSlot {
    using TCode = void (*)(void* object, Arguments... arguments);
    void* Object = nullptr;
    TCode Code = nullptr;

    explicit operator bool() const { return Code != nullptr; }
    void operator()(Arguments... arguments) const { Code(Object, arguments...); }
    void Clear() { *this = TMenuSlot{}; }
};

// (item, canvas, item rectangle, selected)
using TDrawItemSlot = TMenuSlot<TMenuItem&, TCanvas&, const RECT&, bool>;
// (item, canvas, width in/out, height in/out)
using TMeasureItemSlot = TMenuSlot<TMenuItem&, TCanvas&, int&, int&>;

// Virtual key in the low byte, modifier flags above it.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
std::wstring ShortCutToText(TShortCut shortCut);

inline const std::wstring SeparatorCaption = L"-";

class TMenuItem {
public:
    explicit TMenuItem(std::wstring name = {}, std::wstring caption = {});
    ~TMenuItem();
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    TMenuItem& Add(std::unique_ptr<TMenuItem> child);
    TMenuItem& Add(std::wstring name, std::wstring caption);

    const std::wstring& Name() const { return Name_; }
    const std::wstring& Caption() const { return Caption_; }
    void SetCaption(std::wstring caption);
    TShortCut ShortCut() const { return ShortCut_; }
    void SetShortCut(TShortCut shortCut);
    std::wstring ShortCutText() const { return ShortCutToText(ShortCut_); }
    bool Enabled() const { return Enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return Checked_; }
    void SetChecked(bool checked);
    bool RadioItem() const { return RadioItem_; }
    void SetRadioItem(bool radioItem);
    bool Default() const { return Default_; }
    void SetDefault(bool isDefault);
    bool IsSeparator() const { return Caption_ == SeparatorCaption; }

    // Read only when the item is painted.
    int ImageIndex = -1;
    TBitmap Bitmap;
    int Tag = 0;
    TDrawItemSlot OnDrawItem;
    TMeasureItemSlot OnMeasureItem;
    std::function<void(TMenuItem&)> OnClick;

    TMenuItem* Parent() const { return Parent_; }
    TMenu* Menu() const { return Menu_; }
    const std::vector<std::unique_ptr<TMenuItem>>& Items() const { return Children; }
    int Count() const { return static_cast<int>(Children.size()); }
    TMenuItem& operator[](int index) const { return *Children.at(static_cast<std::size_t>(index)); }
    UINT Command() const { return CommandId; }
    HMENU SubmenuHandle() const { return Submenu; }

    // The item's own painting steps, or the plain ones when its slots are empty.
    void MeasureItem(TCanvas& canvas, int& width, int& height);
    void DrawItem(TCanvas& canvas, const RECT& rect, bool selected);

    // Looks up an item by the pointer stored with an owner-drawn menu entry;
    // null unless it names a live item.
    static TMenuItem* FromItemData(ULONG_PTR data);
    static TMenuItem* FromCommand(UINT command);

private:
    friend class TMenu;
    void AttachTo(TMenu* menu);
    void AdoptItems(HMENU handle);
    void UseCommand(UINT command);
    void InsertInto(HMENU parentHandle, UINT position);
    void Refresh();
    int IndexInParent() const;
    MENUITEMINFOW Describe(std::wstring& text) const;

    std::wstring Name_;
    std::wstring Caption_;
    TShortCut ShortCut_ = 0;
    bool Enabled_ = true;
    bool Checked_ = false;
    bool RadioItem_ = false;
    bool Default_ = false;
    TMenuItem* Parent_ = nullptr;
    TMenu* Menu_ = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> Children;
    UINT CommandId = 0;
    HMENU Submenu = nullptr; // the root item's is the menu's handle
    bool Inserted = false;
};

class TMenu {
public:
    virtual ~TMenu();
    TMenu(const TMenu&) = delete;
    TMenu& operator=(const TMenu&) = delete;

    const std::wstring& Name() const { return Name_; }
    HMENU Handle() const { return Handle_; }
    // The top-level items are the children of this root item.
    TMenuItem& Items() { return Root; }
    const TMenuItem& Items() const { return Root; }

    bool OwnerDraw() const { return OwnerDraw_; }
    void SetOwnerDraw(bool ownerDraw);
    bool IsRightToLeft() const { return RightToLeft; }
    void SetRightToLeft(bool rightToLeft);
    TImageList* Images = nullptr;
    int Tag = 0;

    virtual bool IsMainMenu() const = 0;
    // Called when an item's appearance changed, so the menu bar can be redrawn.
    virtual void Changed() {}

protected:
    TMenu(std::wstring name, HMENU handle);
    // Takes over a menu built with plain Win32 calls: its items become this
    // menu's items with their command ids; the handle stays its owner's.
    void Adopt();

private:
    std::wstring Name_;
    HMENU Handle_;
    bool OwnsHandle = true;
    TMenuItem Root;
    bool OwnerDraw_ = false;
    bool RightToLeft = false;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(std::wstring name);
    // The window's existing menu bar, adopted with its items and command ids;
    // the window stays its owner.
    static std::unique_ptr<TMainMenu> AdoptWindowMenu(std::wstring name, HWND window);
    ~TMainMenu() override;
    bool IsMainMenu() const override { return true; }
    // Makes this the window's menu bar.
    void AttachTo(HWND window);
    HWND Window() const { return Window_; }
    void Changed() override;

protected:
    TMainMenu(std::wstring name, HWND window);

private:
    HWND Window_ = nullptr;
    bool OwnsMenu = true;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(std::wstring name);
    bool IsMainMenu() const override { return false; }
    // Shows the menu at screen position (x, y); the chosen item's OnClick runs
    // through the owner window's WM_COMMAND.
    void Popup(HWND owner, int x, int y);
};

// Routes WM_MEASUREITEM and WM_DRAWITEM of owner-drawn items, WM_MENUCHAR
// (accelerators of owner-drawn items) and WM_COMMAND of menu choices to the
// items. Returns true when the message was handled.
bool DispatchMenuMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

} // namespace vehmira::menustyle
