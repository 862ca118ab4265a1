#include "platform/RealServices.h"

#include "platform/posix/FlockSingleInstance.h"
#include "platform/posix/PosixShell.h"
#include "platform/posix/PosixVolume.h"
#include "platform/posix/SdlSound.h"

namespace platform {

ServiceSet MakeRealServices() {
    ServiceSet s;
    s.shell = &Leaked<PosixShell>();
    s.sound = &Leaked<SdlSound>();
    s.volume = &Leaked<PosixVolume>();
    s.singleInstance = &Leaked<FlockSingleInstance>();
    return s;
}

}  // namespace platform
