#include "gui/framework/FixedColumns.h"

#include <commctrl.h>

namespace vehmira::gui::framework {

namespace {

constexpr UINT_PTR FixedColumnsSubclassId = 1;
// Set while the program itself sets a width.
constexpr const wchar_t* WidthBeingSetProperty = L"VehmiraColumnWidthBeingSet";

bool ChangesWidth(LPARAM notification)
{
    const auto* header = reinterpret_cast<const NMHEADERW*>(notification);
    return header->pitem && (header->pitem->mask & HDI_WIDTH);
}

LRESULT CALLBACK FixedColumnsProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR)
{
    if (message == WM_NOTIFY) {
        const auto* notification = reinterpret_cast<const NMHDR*>(lParam);
        if (notification->hwndFrom == ListView_GetHeader(window)) {
            switch (notification->code) {
            case HDN_BEGINTRACKW:
            case HDN_BEGINTRACKA:
                return TRUE; // no dragging of a divider
            case HDN_DIVIDERDBLCLICKW:
            case HDN_DIVIDERDBLCLICKA:
                return 0; // no automatic width on a double click
            case HDN_ITEMCHANGINGW:
            case HDN_ITEMCHANGINGA:
                if (ChangesWidth(lParam) && !GetPropW(window, WidthBeingSetProperty))
                    return TRUE; // every other way of resizing ends here
                break;
            default:
                break;
            }
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &FixedColumnsProcedure, FixedColumnsSubclassId);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

void FixColumnWidths(HWND listView)
{
    SetWindowSubclass(listView, &FixedColumnsProcedure, FixedColumnsSubclassId, 0);
    HWND header = ListView_GetHeader(listView);
    SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) | HDS_NOSIZING);
}

void SetFixedColumnWidth(HWND listView, int column, int width)
{
    SetPropW(listView, WidthBeingSetProperty, reinterpret_cast<HANDLE>(INT_PTR(1)));
    ListView_SetColumnWidth(listView, column, width);
    RemovePropW(listView, WidthBeingSetProperty);
}

} // namespace vehmira::gui::framework
