#include "menustyle/MenuStyler.h"

#include "menustyle/ControlSubClass.h"

#include <algorithm>
#include <cstddef>

namespace vehmira::menustyle {

namespace {

// The size of the pre-Vista single-byte non-client metrics record: accepted by
// every version of the call.
constexpr UINT NonClientMetricsSize = 340;

bool IsNtFamily()
{
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    using TGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    // RtlGetVersion reports the platform without the compatibility shims.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto getVersion =
        ntdll ? reinterpret_cast<TGetVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
              : nullptr;
    if (getVersion && getVersion(&version) == 0)
        return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    return true; // only the NT family runs this program's executables
}

std::wstring Trimmed(std::wstring_view text)
{
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos)
        return {};
    const auto last = text.find_last_not_of(L" \t");
    return std::wstring(text.substr(first, last - first + 1));
}

} // namespace

TMenuStyler::TMenuStyler(TOwnerForm* owner) : Owner(owner), XPContainers_(AllXPContainers), XPControls_(AllXPControls)
{
    LoadSystemMenuFont();
}

TMenuStyler::~TMenuStyler()
{
    if (Owner)
        ActivateAll(false, false);
    // Subclasses still alive restore their controls when freed with the styler.
    SubClasses.clear();
}

void TMenuStyler::LoadSystemMenuFont()
{
    NONCLIENTMETRICSA metrics{};
    static_assert(sizeof(metrics) >= NonClientMetricsSize);
    metrics.cbSize = NonClientMetricsSize;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, NonClientMetricsSize, &metrics, 0)) {
        const LOGFONTA& menuFont = metrics.lfMenuFont;
        LOGFONTW wide{};
        wide.lfHeight = menuFont.lfHeight;
        wide.lfWeight = menuFont.lfWeight;
        wide.lfItalic = menuFont.lfItalic;
        wide.lfUnderline = menuFont.lfUnderline;
        wide.lfStrikeOut = menuFont.lfStrikeOut;
        wide.lfCharSet = menuFont.lfCharSet;
        MultiByteToWideChar(CP_ACP, 0, menuFont.lfFaceName, -1, wide.lfFaceName,
                            static_cast<int>(std::size(wide.lfFaceName)));
        wide.lfFaceName[std::size(wide.lfFaceName) - 1] = L'\0';
        Font_ = TFont::FromLogFont(wide, clMenuText);
    }
    Settings.SelectFontColor = Font_.Color;
}

void TMenuStyler::RedrawMenuBar()
{
    if (Owner && Owner->Window && IsWindow(Owner->Window))
        DrawMenuBar(Owner->Window);
}

void TMenuStyler::SetFont(const TFont& font)
{
    Font_ = font;
    RedrawMenuBar();
}

void TMenuStyler::SetMenuBarColor(TColor color)
{
    MenuBarColor_ = color;
    RedrawMenuBar();
}

void TMenuStyler::SetUseSystemColors(bool use)
{
    UseSystemColors_ = use;
    RedrawMenuBar();
}

void TMenuStyler::SetXPContainers(TXPContainers containers)
{
    if (!(containers == XPContainers_) && Active_) {
        Active_ = false;
        ActivateAll(false, true);
        Active_ = true;
        XPContainers_ = containers;
        ActivateAll(true, true);
    }
    XPContainers_ = containers;
}

void TMenuStyler::SetXPControls(TXPControls controls)
{
    if (!(controls == XPControls_) && Active_) {
        Active_ = false;
        ActivateAll(false, true);
        Active_ = true;
        XPControls_ = controls;
        ActivateAll(true, true);
    }
    XPControls_ = controls;
}

void TMenuStyler::SetActive(bool active)
{
    if (active == Active_)
        return;
    Active_ = active;
    ActivateAll(active, true);
    RedrawMenuBar();
}

void TMenuStyler::Loaded()
{
    if (Active_)
        ActivateAll(true, false);
}

void TMenuStyler::ComponentInserted(HWND control)
{
    if (Active_ && Settings.AutoDetect)
        ActivateComponent(control, true, true);
}

void TMenuStyler::ActivateAll(bool activate, bool redraw)
{
    if (!Owner)
        return;
    for (TMenu* menu : Owner->Menus)
        if (menu)
            ActivateComponent(*menu, activate, redraw);
    if (!Owner->Window)
        return;
    std::vector<HWND> controls;
    EnumChildWindows(
        Owner->Window,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    for (HWND control : controls)
        ActivateComponent(control, activate, redraw);
}

void TMenuStyler::ActivateComponent(TMenu& menu, bool activate, bool /*redraw*/)
{
    if (menu.IsMainMenu()) {
        if (XPControls_.Contains(xcMainMenu) && menu.Tag != ExcludeTag)
            ActivateMenuItems(menu, activate);
    } else if (XPControls_.Contains(xcPopupMenu)) {
        ActivateMenuItems(menu, activate);
    }
}

void TMenuStyler::ActivateMenuItems(TMenu& menu, bool activate)
{
    // OwnerDraw is set inside the loop: a menu without items stays as it is.
    for (const auto& item : menu.Items().Items()) {
        menu.SetOwnerDraw(activate);
        ApplyItemRule(*item, activate);
    }
}

void TMenuStyler::ApplyItemRule(TMenuItem& item, bool activate)
{
    if (activate) {
        if (item.Tag != ExcludeTag) {
            if (!item.OnDrawItem || Settings.OverrideOwnerDraw)
                item.OnDrawItem = TDrawItemSlot{this, &TMenuStyler::DrawMenuItemStep};
            if (!item.OnMeasureItem || Settings.OverrideOwnerDraw)
                item.OnMeasureItem = TMeasureItemSlot{this, &TMenuStyler::MeasureMenuItemStep};
        }
    } else {
        if (item.OnDrawItem.Code == &TMenuStyler::DrawMenuItemStep)
            item.OnDrawItem.Clear();
        if (item.OnMeasureItem.Code == &TMenuStyler::MeasureMenuItemStep)
            item.OnMeasureItem.Clear();
    }
    for (const auto& child : item.Items())
        ApplyItemRule(*child, activate);
}

void TMenuStyler::RehookItem(TMenuItem& item)
{
    if (item.Tag == ExcludeTag || item.OnDrawItem.Code == &TMenuStyler::DrawMenuItemStep)
        return;
    if (!item.OnDrawItem || Settings.OverrideOwnerDraw)
        item.OnDrawItem = TDrawItemSlot{this, &TMenuStyler::DrawMenuItemStep};
    if (!item.OnMeasureItem || Settings.OverrideOwnerDraw)
        item.OnMeasureItem = TMeasureItemSlot{this, &TMenuStyler::MeasureMenuItemStep};
}

void TMenuStyler::RehookChildren(TMenuItem& item)
{
    for (const auto& child : item.Items()) {
        RehookItem(*child);
        RehookChildren(*child);
    }
}

void TMenuStyler::RehookSubmenu(TMenuItem& item)
{
    // The rule is idempotent, so the item, its whole level and everything below
    // that level are each visited once.
    RehookItem(item);
    if (!item.Parent()) {
        RehookChildren(item);
        return;
    }
    for (const auto& sibling : item.Parent()->Items()) {
        RehookItem(*sibling);
        RehookChildren(*sibling);
    }
}

void TMenuStyler::DrawMenuItemStep(void* styler, TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected)
{
    static_cast<TMenuStyler*>(styler)->DrawMenuItem(item, canvas, rect, selected);
}

void TMenuStyler::MeasureMenuItemStep(void* styler, TMenuItem& item, TCanvas& canvas, int& width, int& height)
{
    static_cast<TMenuStyler*>(styler)->MeasureMenuItem(item, canvas, width, height);
}

bool TMenuStyler::IsFormMainMenuItem(const TMenuItem& item) const
{
    return Owner && Owner->MainMenu && item.Parent() == &Owner->MainMenu->Items();
}

SIZE TMenuStyler::GetItemImageSize(const TMenuItem& item) const
{
    const bool barItem = IsFormMainMenuItem(item);
    const TImageList* images = nullptr;
    if (barItem && Owner->MainMenu->Images)
        images = Owner->MainMenu->Images;
    if (item.Menu() && item.Menu()->Images)
        images = item.Menu()->Images;
    SIZE size{0, 0};
    if (images && item.ImageIndex != -1) {
        if (images->Valid(item.ImageIndex))
            size = SIZE{images->Width(), images->Height()};
    } else if (item.Bitmap.Width() > 0) {
        size = SIZE{item.Bitmap.Width(), item.Bitmap.Height()};
    }
    if (!barItem)
        size.cx = std::max<LONG>(size.cx, Settings.IconWidth);
    return size;
}

void TMenuStyler::MeasureMenuItem(TMenuItem& item, TCanvas& canvas, int& width, int& height)
{
    if (!Active_)
        return;
    std::wstring text = item.IsSeparator() ? std::wstring{} : item.Caption();
    const std::wstring shortCut = item.ShortCutText();
    if (!Trimmed(shortCut).empty())
        text += shortCut + L"WWW";
    canvas.SetFont(Font_);
    int measuredWidth = canvas.TextWidth(text) + 5;
    if (text.find(L'&') != std::wstring::npos)
        measuredWidth -= canvas.TextWidth(L"&");
    const SIZE image = GetItemImageSize(item);
    if (image.cx > 0)
        measuredWidth += image.cx;
    if (IsFormMainMenuItem(item) && IsNtFamily())
        measuredWidth += 8;
    width = std::max(width, measuredWidth);
    if (item.IsSeparator()) {
        height = 4;
        return;
    }
    const int textHeight = canvas.TextHeight(text);
    const int measuredHeight =
        std::max<int>(textHeight + RoundHalfEven(0.75 * textHeight), image.cy + 6);
    height = std::max(height, measuredHeight);
}

void TMenuStyler::PrepareColors(TCanvas& canvas)
{
    TColorProperties properties;
    properties.Color = Settings.Color;
    properties.IconBackColor = Settings.IconBackColor;
    properties.MenuBarColor = MenuBarColor_;
    properties.SelectColor = Settings.SelectColor;
    properties.SelectBorderColor = Settings.SelectBorderColor;
    properties.SelectFontColor = Settings.SelectFontColor;
    properties.DisabledColor = Settings.DisabledColor;
    properties.SeparatorColor = Settings.SeparatorColor;
    properties.CheckedColor = Settings.CheckedColor;
    properties.FontColor = Font_.Color;
    properties.UseSystemColors = UseSystemColors_;
    properties.UseDimColor = Settings.UseDimColor;
    Work_ = ComputeWorkColors(properties, canvas);
}

void TMenuStyler::AddSubClass(std::unique_ptr<TControlSubClass> subClass)
{
    SubClasses.push_back(std::move(subClass));
}

void TMenuStyler::ReleaseSubClass(TControlSubClass* subClass)
{
    const auto found = std::find_if(SubClasses.begin(), SubClasses.end(),
                                    [subClass](const auto& owned) { return owned.get() == subClass; });
    if (found == SubClasses.end())
        return;
    // The caller may be the subclass's own window procedure: it must return
    // without touching itself once this call has freed it.
    SubClasses.erase(found);
}

TControlSubClass* TMenuStyler::FindSubClass(HWND control) const
{
    const auto found = std::find_if(SubClasses.begin(), SubClasses.end(),
                                    [control](const auto& subClass) { return subClass->Target() == control; });
    return found == SubClasses.end() ? nullptr : found->get();
}

} // namespace vehmira::menustyle
