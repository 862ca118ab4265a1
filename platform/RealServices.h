#pragma once
// The system's own services, implemented once per system (platform/posix, platform/win32).
#include "platform/Services.h"

namespace platform {

// Created on first use and never destroyed: services may be used from static destructors, and
// the sound's audio thread must not outlive a destroyed object at exit.
template <typename T>
T& Leaked() {
    static T* instance = new T();
    return *instance;
}

ServiceSet MakeRealServices();

// The set of one system's services, each made on first use.
template <class TShell, class TSound, class TVolume, class TSingleInstance>
ServiceSet LeakedServices() {
    ServiceSet s;
    s.shell = &Leaked<TShell>();
    s.sound = &Leaked<TSound>();
    s.volume = &Leaked<TVolume>();
    s.singleInstance = &Leaked<TSingleInstance>();
    return s;
}

}  // namespace platform
