#pragma once
// The scheduling priority of the calling thread, on the seven steps of a Windows thread priority
// (0 idle, 1 lowest, 2 lower, 3 normal, 4 higher, 5 highest, 6 time critical).
namespace platform {

// False when the system refuses (raising a priority usually needs privileges); the thread then
// keeps the priority it has.
bool SetCurrentThreadPriority(int step);

}  // namespace platform
