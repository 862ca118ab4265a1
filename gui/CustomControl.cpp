#include "gui/CustomControl.h"

namespace gui {

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

TCustomControl::~TCustomControl() = default;

}  // namespace gui
