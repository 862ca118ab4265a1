#include "gui/GraphicControl.h"

namespace gui {

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

TGraphicControl::~TGraphicControl() = default;

}  // namespace gui
