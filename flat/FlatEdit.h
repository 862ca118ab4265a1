#pragma once
// TFlatEdit: the flat edit as placed on forms (everything lives in TCustomFlatEdit).
#include "flat/CustomFlatEdit.h"

namespace flat {

class TFlatEdit : public TCustomFlatEdit {
public:
    using TCustomFlatEdit::TCustomFlatEdit;
};

}  // namespace flat
