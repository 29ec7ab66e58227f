#include "gui/preview/CutNameTips.h"

#include "win32/Gdi.h"

#include <commctrl.h>

#include <stdexcept>

namespace vehmira::gui {

namespace {

TOOLINFOW ToolOf(HWND panel, UINT id)
{
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = panel;
    tool.uId = id;
    return tool;
}

// The width the name takes on one line in font.
int TextWidth(HDC dc, const std::wstring& text)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

} // namespace

TCutNameTips::TCutNameTips(HWND panel) : Panel(panel)
{
    Tips.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, panel, nullptr,
                               GetModuleHandleW(nullptr), nullptr));
    if (!Tips.Get())
        throw std::runtime_error("the texture panel's tooltips cannot be created");
}

void TCutNameTips::Update(std::span<const TNameLine> lines, HFONT font)
{
    for (UINT id = 0; id < ToolCount; ++id) {
        TOOLINFOW tool = ToolOf(Panel, id);
        SendMessageW(Tips.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ToolCount = 0;
    const win32::TWindowDc dc(Panel);
    const win32::TSelectGuard fontSelected(dc.Handle(), font);
    for (const TNameLine& line : lines) {
        if (TextWidth(dc.Handle(), *line.Name) <= line.Line.right - line.Line.left)
            continue;
        TOOLINFOW tool = ToolOf(Panel, ToolCount++);
        tool.uFlags = TTF_SUBCLASS;
        tool.rect = line.Line;
        tool.lpszText = const_cast<wchar_t*>(line.Name->c_str());
        SendMessageW(Tips.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

} // namespace vehmira::gui
