#pragma once
// An empty window titled "Экспорт": created at start with the others, never shown.

#include "gui/framework/Window.h"

class TVehmiraApp;

class TForm1 : public TForm {
public:
    explicit TForm1(TVehmiraApp& app);
    void ApplyInterfaceTexts() override;
};
