#include "platform/RealServices.h"

#include "platform/win32/MutexSingleInstance.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Sound.h"
#include "platform/win32/Win32Volume.h"

namespace platform {

ServiceSet MakeRealServices() {
    return LeakedServices<Win32Shell, Win32Sound, Win32Volume, MutexSingleInstance>();
}

}  // namespace platform
