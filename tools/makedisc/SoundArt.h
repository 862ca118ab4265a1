#pragma once
// The seven menu sounds, synthesised: 0 click, 1 welcome chime, 2 install, 3 copy swoosh, 4 start
// "pling", 5 search ping, 6 farewell. Slot 0 is 8-bit at 11025 Hz, the others 16-bit at 22050 Hz.
#include <array>
#include <string>

std::array<std::string, 7> SynthesiseSounds();
