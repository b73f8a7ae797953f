#pragma once
// The base-flow window: the flow behind the rocket's base.
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

namespace velmora {

class NavierStokes : public Form {
    Q_OBJECT
public:
    explicit NavierStokes(Forms& forms);
    void Form_Load() override;

    TextBox* UINFIN = nullptr;
    TextBox* AMUIN = nullptr;
    StatusBar* StatusBar1 = nullptr;
};

} // namespace velmora
