#pragma once
// The platform services the program uses, chosen once at start-up: the real ones by default, the
// recording ones for headless runs. Set before the GUI starts; not changed while it runs.
#include "platform/NativePath.h"

namespace platform {

class Shell;
class Sound;
class Volume;
class SingleInstance;
class RecordingShell;
class RecordingSound;

struct ServiceSet {
    Shell* shell = nullptr;
    Sound* sound = nullptr;
    Volume* volume = nullptr;
    SingleInstance* singleInstance = nullptr;
    NativePath paths;  // the mapping of app paths for this disc (set from AppPaths::Mapping())
};

// The active set; on first use the real implementations (xdg-open, SDL audio, flock, mount table).
ServiceSet& Services();

// Shell and sound become the recording fakes and the single-instance lock a process-local one,
// so a headless run starts nothing, plays nothing and never meets a running menu. Returns the
// fakes for scripts and tests to inspect.
struct RecordingServices {
    RecordingShell* shell;
    RecordingSound* sound;
};
RecordingServices UseRecordingServices();
// The recording fakes when they are active, else nullptr in both.
RecordingServices ActiveRecordings();

}  // namespace platform
