#include "platform/Services.h"

#include "platform/RealServices.h"

namespace platform {

ServiceSet& Services() {
    static ServiceSet set = MakeRealServices();
    return set;
}

}  // namespace platform
