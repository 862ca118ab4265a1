#include "platform/RealServices.h"

#include "platform/win32/MutexSingleInstance.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Sound.h"
#include "platform/win32/Win32Volume.h"

namespace platform {

ServiceSet MakeRealServices() {
    ServiceSet s;
    s.shell = &Leaked<Win32Shell>();
    s.sound = &Leaked<Win32Sound>();
    s.volume = &Leaked<Win32Volume>();
    s.singleInstance = &Leaked<MutexSingleInstance>();
    return s;
}

}  // namespace platform
