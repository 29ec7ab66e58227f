#pragma once
// An empty window titled "Экспорт": created at start with the others, never shown.

#include "gui/framework/Window.h"

namespace vehmira::gui {

class TVehmiraApp;

class TForm1 : public framework::TForm {
public:
    explicit TForm1(TVehmiraApp& app);
    void ApplyInterfaceTexts() override;
};

} // namespace vehmira::gui
