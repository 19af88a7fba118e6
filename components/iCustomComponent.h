#pragma once
// The common base of the concrete drawn components.

#include "components/iVCLComponent.h"

class TiCustomComponent : public TiVCLComponent {
    Q_OBJECT

  public:
    using TiVCLComponent::TiVCLComponent;
};
