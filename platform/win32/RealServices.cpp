#include "platform/RealServices.h"

#include "platform/win32/MutexSingleInstance.h"
#include "platform/win32/Win32Volume.h"

namespace platform {

// The shell and the sound output have no Windows version yet; nothing that uses them (gui, app)
// is part of the Windows build so far.
ServiceSet MakeRealServices() {
    ServiceSet s;
    s.volume = &Leaked<Win32Volume>();
    s.singleInstance = &Leaked<MutexSingleInstance>();
    return s;
}

}  // namespace platform
