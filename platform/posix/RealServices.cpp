#include "platform/RealServices.h"

#include "platform/posix/FlockSingleInstance.h"
#include "platform/posix/PosixShell.h"
#include "platform/posix/PosixVolume.h"
#include "platform/posix/SdlSound.h"

namespace platform {

ServiceSet MakeRealServices() {
    return LeakedServices<PosixShell, SdlSound, PosixVolume, FlockSingleInstance>();
}

}  // namespace platform
