// The control part of the activation pass: which child windows are subclassed.

#include "menustyle/ControlKinds.h"
#include "menustyle/ControlSubClass.h"
#include "menustyle/MenuStyler.h"

namespace vehmira::menustyle {

void TMenuStyler::ActivateComponent(HWND control, bool activate, bool redraw)
{
    const TStyledControlKind kind = ClassifyControl(control);
    const auto controlElement = RequiredControlElement(kind);
    if (!controlElement || !XPControls_.Contains(*controlElement))
        return;
    const HWND parent = GetParent(control);
    const auto containerElement = RequiredContainerElement(ClassifyContainer(parent));
    if (!containerElement || !XPContainers_.Contains(*containerElement))
        return;
    // Deactivation removes nothing here: each subclass lets go of its control
    // on the next message it sees while the styler is inactive.
    const bool excluded = WindowTag(control) == ExcludeTag || WindowTag(parent) == ExcludeTag;
    if (activate && !excluded && !FindSubClass(control)) {
        auto subClass = std::make_unique<TControlSubClass>(*this, control, kind);
        if (subClass->Hooked())
            AddSubClass(std::move(subClass));
    }
    if (redraw)
        InvalidateRect(control, nullptr, TRUE);
}

} // namespace vehmira::menustyle
