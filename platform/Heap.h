#pragma once
// How the process takes memory from the system.
namespace platform {

// Called first thing in main: sets the heap up for a program that makes all its pictures and back
// buffers (several megabytes) at start-up and keeps them to the end.
void PrepareHeap();

}  // namespace platform
