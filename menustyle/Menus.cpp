#include "menustyle/Menus.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <string_view>
#include <unordered_set>

namespace vehmira::menustyle {

namespace {

// Live items, so that the pointer that travels with an owner-drawn menu entry
// is only ever followed when it still names one of them.
std::unordered_set<const TMenuItem*>& LiveItems()
{
    static std::unordered_set<const TMenuItem*> items;
    return items;
}

std::map<UINT, TMenuItem*>& ItemsByCommand()
{
    static std::map<UINT, TMenuItem*> items;
    return items;
}

// Menu command identifiers travel in the low word of WM_COMMAND.
constexpr UINT FirstCommand = 0x1000;
constexpr UINT LastCommand = 0xEFFF;

UINT AllocateCommand()
{
    static UINT next = FirstCommand;
    auto& used = ItemsByCommand();
    for (UINT tries = 0; tries <= LastCommand - FirstCommand; ++tries) {
        const UINT candidate = next;
        next = next == LastCommand ? FirstCommand : next + 1;
        if (!used.contains(candidate))
            return candidate;
    }
    return 0;
}

std::wstring KeyName(UINT key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24)
        return L"F" + std::to_wstring(key - VK_F1 + 1);
    static const std::map<UINT, std::wstring> names = {
        {VK_BACK, L"BkSp"}, {VK_TAB, L"Tab"},   {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"},
        {VK_SPACE, L"Space"}, {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"}, {VK_END, L"End"},
        {VK_HOME, L"Home"}, {VK_LEFT, L"Left"}, {VK_UP, L"Up"},       {VK_RIGHT, L"Right"},
        {VK_DOWN, L"Down"}, {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"}};
    const auto found = names.find(key);
    return found == names.end() ? std::wstring{} : found->second;
}

} // namespace

std::wstring ShortCutToText(TShortCut shortCut)
{
    const std::wstring key = KeyName(shortCut & 0xFF);
    if (key.empty())
        return {};
    std::wstring text;
    if (shortCut & scShift)
        text += L"Shift+";
    if (shortCut & scCtrl)
        text += L"Ctrl+";
    if (shortCut & scAlt)
        text += L"Alt+";
    return text + key;
}

TMenuItem::TMenuItem(std::wstring name, std::wstring caption)
    : Name_(std::move(name)), Caption_(std::move(caption)), CommandId(AllocateCommand())
{
    LiveItems().insert(this);
    if (CommandId)
        ItemsByCommand()[CommandId] = this;
}

TMenuItem::~TMenuItem()
{
    Children.clear();
    LiveItems().erase(this);
    ItemsByCommand().erase(CommandId);
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data)
{
    auto* item = reinterpret_cast<TMenuItem*>(data);
    return LiveItems().contains(item) ? item : nullptr;
}

TMenuItem* TMenuItem::FromCommand(UINT command)
{
    const auto found = ItemsByCommand().find(command);
    return found == ItemsByCommand().end() ? nullptr : found->second;
}

TMenuItem& TMenuItem::Add(std::wstring name, std::wstring caption)
{
    return Add(std::make_unique<TMenuItem>(std::move(name), std::move(caption)));
}

TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> child)
{
    TMenuItem& added = *child;
    added.Parent_ = this;
    added.AttachTo(Menu_);
    Children.push_back(std::move(child));
    const bool realized = Parent_ == nullptr ? Submenu != nullptr : Inserted;
    if (realized) {
        if (!Submenu) {
            Submenu = CreatePopupMenu();
            Refresh();
        }
        added.InsertInto(Submenu, static_cast<UINT>(Children.size() - 1));
    }
    if (Menu_)
        Menu_->Changed();
    return added;
}

void TMenuItem::AttachTo(TMenu* menu)
{
    Menu_ = menu;
    for (const auto& child : Children)
        child->AttachTo(menu);
}

void TMenuItem::InsertInto(HMENU parentHandle, UINT position)
{
    if (!Children.empty() && !Submenu)
        Submenu = CreatePopupMenu();
    for (std::size_t index = 0; index < Children.size(); ++index)
        Children[index]->InsertInto(Submenu, static_cast<UINT>(index));
    std::wstring text;
    const MENUITEMINFOW info = Describe(text);
    Inserted = InsertMenuItemW(parentHandle, position, TRUE, &info) != FALSE;
}

int TMenuItem::IndexInParent() const
{
    if (!Parent_)
        return -1;
    const auto& siblings = Parent_->Children;
    const auto found = std::find_if(siblings.begin(), siblings.end(),
                                    [this](const auto& sibling) { return sibling.get() == this; });
    return static_cast<int>(found - siblings.begin());
}

MENUITEMINFOW TMenuItem::Describe(std::wstring& text) const
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    info.fType = IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
    if (RadioItem_)
        info.fType |= MFT_RADIOCHECK;
    if (Menu_ && Menu_->OwnerDraw())
        info.fType |= MFT_OWNERDRAW;
    if (Menu_ && Menu_->IsRightToLeft())
        info.fType |= MFT_RIGHTORDER;
    info.fState = (Enabled_ ? MFS_ENABLED : MFS_DISABLED) | (Checked_ ? MFS_CHECKED : MFS_UNCHECKED) |
                  (Default_ ? MFS_DEFAULT : 0);
    info.wID = CommandId;
    info.hSubMenu = Submenu;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    text = Caption_;
    const std::wstring shortCut = ShortCutText();
    if (!shortCut.empty())
        text += L"\t" + shortCut;
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    return info;
}

void TMenuItem::Refresh()
{
    if (!Inserted || !Parent_ || !Parent_->Submenu)
        return;
    std::wstring text;
    const MENUITEMINFOW info = Describe(text);
    SetMenuItemInfoW(Parent_->Submenu, static_cast<UINT>(IndexInParent()), TRUE, &info);
    for (const auto& child : Children)
        child->Refresh();
    if (Menu_)
        Menu_->Changed();
}

void TMenuItem::SetCaption(std::wstring caption)
{
    Caption_ = std::move(caption);
    Refresh();
}

void TMenuItem::SetShortCut(TShortCut shortCut)
{
    ShortCut_ = shortCut;
    Refresh();
}

void TMenuItem::SetEnabled(bool enabled)
{
    Enabled_ = enabled;
    Refresh();
}

void TMenuItem::SetChecked(bool checked)
{
    Checked_ = checked;
    Refresh();
}

void TMenuItem::SetRadioItem(bool radioItem)
{
    RadioItem_ = radioItem;
    Refresh();
}

void TMenuItem::SetDefault(bool isDefault)
{
    Default_ = isDefault;
    Refresh();
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height)
{
    if (OnMeasureItem) {
        OnMeasureItem(*this, canvas, width, height);
        return;
    }
    if (IsSeparator()) {
        height = std::max(height, GetSystemMetrics(SM_CYMENU) / 2);
        return;
    }
    canvas.SetFont(TFont::FromLogFont(LOGFONTW{}, clMenuText));
    const SIZE text = canvas.TextExtent(Caption_ + L"   " + ShortCutText());
    width = std::max<int>(width, text.cx + 2 * GetSystemMetrics(SM_CXMENUCHECK));
    height = std::max<int>(height, std::max<int>(text.cy + 4, GetSystemMetrics(SM_CYMENU)));
}

void TMenuItem::DrawItem(TCanvas& canvas, const RECT& rect, bool selected)
{
    if (OnDrawItem) {
        OnDrawItem(*this, canvas, rect, selected);
        return;
    }
    // Plain painting for an owner-drawn item nobody paints: system menu colours.
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(selected ? clHighlight : clMenu);
    canvas.FillRect(rect);
    if (IsSeparator())
        return;
    TFont font = canvas.Font();
    font.Color = !Enabled_ ? clBtnShadow : selected ? clHighlightText : clMenuText;
    canvas.SetFont(font);
    canvas.SetTransparentText(true);
    RECT textRect = rect;
    textRect.left += GetSystemMetrics(SM_CXMENUCHECK);
    canvas.DrawTextInRect(Caption_, textRect, DT_LEFT | DT_VCENTER);
}

TMenu::TMenu(std::wstring name, HMENU handle) : Name_(std::move(name)), Handle_(handle)
{
    Root.Submenu = handle;
    Root.AttachTo(this);
}

TMenu::~TMenu()
{
    Root.Submenu = nullptr;
    if (Handle_ && OwnsHandle)
        DestroyMenu(Handle_);
}

void TMenu::Adopt()
{
    OwnsHandle = false;
    Root.AdoptItems(Handle_);
}

void TMenuItem::UseCommand(UINT command)
{
    if (ItemsByCommand()[CommandId] == this)
        ItemsByCommand().erase(CommandId);
    CommandId = command;
    ItemsByCommand()[command] = this;
}

void TMenuItem::AdoptItems(HMENU handle)
{
    const int count = GetMenuItemCount(handle);
    for (int position = 0; position < count; ++position) {
        wchar_t text[256]{};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = static_cast<UINT>(std::size(text) - 1);
        if (!GetMenuItemInfoW(handle, static_cast<UINT>(position), TRUE, &info))
            continue;
        std::wstring caption = (info.fType & MFT_SEPARATOR) ? SeparatorCaption : std::wstring(text);
        // A plain menu shows its shortcut after a tab; the caption ends there.
        if (const auto tab = caption.find(L'\t'); tab != std::wstring::npos)
            caption.resize(tab);
        auto item = std::make_unique<TMenuItem>(std::wstring{}, std::move(caption));
        if (!info.hSubMenu)
            item->UseCommand(info.wID);
        item->Enabled_ = (info.fState & MFS_DISABLED) == 0;
        item->Checked_ = (info.fState & MFS_CHECKED) != 0;
        item->Default_ = (info.fState & MFS_DEFAULT) != 0;
        item->RadioItem_ = (info.fType & MFT_RADIOCHECK) != 0;
        item->Parent_ = this;
        item->Menu_ = Menu_;
        item->Submenu = info.hSubMenu;
        item->Inserted = true;
        if (info.hSubMenu)
            item->AdoptItems(info.hSubMenu);
        Children.push_back(std::move(item));
        Children.back()->Refresh();
    }
}

void TMenu::SetOwnerDraw(bool ownerDraw)
{
    OwnerDraw_ = ownerDraw;
    for (const auto& item : Root.Children)
        item->Refresh();
    Changed();
}

void TMenu::SetRightToLeft(bool rightToLeft)
{
    RightToLeft = rightToLeft;
    for (const auto& item : Root.Children)
        item->Refresh();
    Changed();
}

TMainMenu::TMainMenu(std::wstring name) : TMenu(std::move(name), CreateMenu()) {}

namespace {

// Reaches the adopting constructor path of TMainMenu.
class TAdoptedMainMenu : public TMainMenu {
public:
    TAdoptedMainMenu(std::wstring name, HWND window) : TMainMenu(std::move(name), window) {}
};

} // namespace

TMainMenu::TMainMenu(std::wstring name, HWND window)
    : TMenu(std::move(name), GetMenu(window)), Window_(window), OwnsMenu(false)
{
    Adopt();
}

std::unique_ptr<TMainMenu> TMainMenu::AdoptWindowMenu(std::wstring name, HWND window)
{
    if (!GetMenu(window))
        return nullptr;
    return std::make_unique<TAdoptedMainMenu>(std::move(name), window);
}

TMainMenu::~TMainMenu()
{
    // The window would destroy its menu bar with itself; take a menu it does
    // not own back first.
    if (OwnsMenu && Window_ && IsWindow(Window_) && GetMenu(Window_) == Handle())
        SetMenu(Window_, nullptr);
}

void TMainMenu::AttachTo(HWND window)
{
    Window_ = window;
    SetMenu(window, Handle());
}

void TMainMenu::Changed()
{
    if (Window_ && IsWindow(Window_))
        DrawMenuBar(Window_);
}

TPopupMenu::TPopupMenu(std::wstring name) : TMenu(std::move(name), CreatePopupMenu()) {}

void TPopupMenu::Popup(HWND owner, int x, int y)
{
    TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
}

namespace {

bool MeasureMessage(HWND window, LPARAM lParam)
{
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (!measure || measure->CtlType != ODT_MENU)
        return false;
    TMenuItem* item = TMenuItem::FromItemData(measure->itemData);
    if (!item)
        return false;
    const win32::TWindowDc dc(window);
    TCanvas canvas(dc.Handle());
    int width = static_cast<int>(measure->itemWidth);
    int height = static_cast<int>(measure->itemHeight);
    item->MeasureItem(canvas, width, height);
    measure->itemWidth = static_cast<UINT>(std::max(width, 0));
    measure->itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
}

bool DrawMessage(LPARAM lParam)
{
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!draw || draw->CtlType != ODT_MENU)
        return false;
    TMenuItem* item = TMenuItem::FromItemData(draw->itemData);
    if (!item)
        return false;
    TCanvas canvas(draw->hDC);
    item->DrawItem(canvas, draw->rcItem, (draw->itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0);
    return true;
}

wchar_t UpperCase(wchar_t character)
{
    wchar_t text[2] = {character, L'\0'};
    CharUpperBuffW(text, 1);
    return text[0];
}

// The accelerator of a caption: the character after a single "&" ("&&"
// stands for a plain "&").
wchar_t AcceleratorOf(std::wstring_view caption)
{
    for (std::size_t index = 0; index + 1 < caption.size(); ++index) {
        if (caption[index] != L'&')
            continue;
        if (caption[index + 1] != L'&')
            return UpperCase(caption[index + 1]);
        ++index;
    }
    return L'\0';
}

// The letter on the same key in the other of the two layouts players type
// with (US English and Russian): with the English layout on, Alt and the key
// marked "Ф" reach "&Файл", as Alt and "F" reach "&File" with the Russian one.
wchar_t SameKeyInOtherLayout(wchar_t upper)
{
    static constexpr std::wstring_view Latin = L"`QWERTYUIOP[]ASDFGHJKL;'ZXCVBNM,.";
    static constexpr std::wstring_view Cyrillic = L"ЁЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ";
    static_assert(Latin.size() == Cyrillic.size());
    if (const std::size_t at = Latin.find(upper); at != std::wstring_view::npos)
        return Cyrillic[at];
    if (const std::size_t at = Cyrillic.find(upper); at != std::wstring_view::npos)
        return Latin[at];
    return L'\0';
}

// The accelerator of an enabled item, owner-drawn (its caption) or not (its
// text); none for a disabled one.
wchar_t EnabledItemAccelerator(HMENU menu, int position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_STATE;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info))
        return L'\0';
    if (info.fType & MFT_OWNERDRAW) {
        const TMenuItem* item = TMenuItem::FromItemData(info.dwItemData);
        return item && item->Enabled() ? AcceleratorOf(item->Caption()) : L'\0';
    }
    if (info.fState & MFS_DISABLED)
        return L'\0';
    wchar_t text[256]{};
    GetMenuStringW(menu, static_cast<UINT>(position), text, static_cast<int>(std::size(text)), MF_BYPOSITION);
    return AcceleratorOf(text);
}

// An owner-drawn entry has no text the system could search for its
// accelerator, so the menu's items answer for it; and any entry answers for
// the letter on the same key in the other layout when none has the typed one.
bool MenuCharMessage(WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const auto menu = reinterpret_cast<HMENU>(lParam);
    const wchar_t typed = UpperCase(static_cast<wchar_t>(LOWORD(wParam)));
    const int count = GetMenuItemCount(menu);
    for (const wchar_t wanted : {typed, SameKeyInOtherLayout(typed)}) {
        if (wanted == L'\0')
            continue;
        for (int position = 0; position < count; ++position) {
            if (EnabledItemAccelerator(menu, position) == wanted) {
                result = MAKELRESULT(position, MNC_EXECUTE);
                return true;
            }
        }
    }
    return false;
}

} // namespace

bool DispatchMenuMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_MEASUREITEM:
        if (wParam != 0 || !MeasureMessage(window, lParam))
            return false;
        result = TRUE;
        return true;
    case WM_DRAWITEM:
        if (wParam != 0 || !DrawMessage(lParam))
            return false;
        result = TRUE;
        return true;
    case WM_MENUCHAR:
        return MenuCharMessage(wParam, lParam, result);
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0) {
            TMenuItem* item = TMenuItem::FromCommand(LOWORD(wParam));
            if (item && item->OnClick) {
                item->OnClick(*item);
                result = 0;
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

} // namespace vehmira::menustyle
