#pragma once
#include "base/Exceptions.h"

namespace gfx {

// A picture that cannot be read or written (damaged, truncated, unsupported). The message says
// what exactly was wrong.
class EInvalidGraphic : public base::Exception {
public:
    using base::Exception::Exception;
};

}  // namespace gfx
