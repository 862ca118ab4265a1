#include "platform/Services.h"

#include "platform/InProcessSingleInstance.h"
#include "platform/RecordingShell.h"
#include "platform/RecordingSound.h"
#include "platform/posix/FlockSingleInstance.h"
#include "platform/posix/PosixShell.h"
#include "platform/posix/PosixVolume.h"
#include "platform/posix/SdlSound.h"

namespace platform {

namespace {

// Created on first use and never destroyed: services may be used from static destructors, and
// the sound's audio thread must not outlive a destroyed object at exit.
template <typename T>
T& Leaked() {
    static T* instance = new T();
    return *instance;
}

ServiceSet MakeReal() {
    ServiceSet s;
    s.shell = &Leaked<PosixShell>();
    s.sound = &Leaked<SdlSound>();
    s.volume = &Leaked<PosixVolume>();
    s.singleInstance = &Leaked<FlockSingleInstance>();
    return s;
}

bool recording = false;

}  // namespace

ServiceSet& Services() {
    static ServiceSet set = MakeReal();
    return set;
}

RecordingServices UseRecordingServices() {
    ServiceSet& s = Services();
    s.shell = &Leaked<RecordingShell>();
    s.sound = &Leaked<RecordingSound>();
    s.singleInstance = &Leaked<InProcessSingleInstance>();
    recording = true;
    return ActiveRecordings();
}

RecordingServices ActiveRecordings() {
    if (!recording) return {nullptr, nullptr};
    return {&Leaked<RecordingShell>(), &Leaked<RecordingSound>()};
}

}  // namespace platform
