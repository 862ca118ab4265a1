#include "platform/InProcessSingleInstance.h"
#include "platform/RealServices.h"
#include "platform/RecordingShell.h"
#include "platform/RecordingSound.h"
#include "platform/Services.h"

namespace platform {

namespace {

bool recording = false;

}  // namespace

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
