#pragma once
// The zip front-end's numbered German messages (cp1252) and their fallbacks.

#include <string>

// The text of message id. A missing id gives the fallback sentence followed by the id; the disk
// prompts, the drive line and the copy notice fall back to English texts of their own.
std::string ZipMessage(int id);
// The text when the id is not in the table (for tests: the table is built in, so every listed id
// is present).
std::string ZipMissingMessage(int id);
// Whether the table holds id.
bool ZipHasMessage(int id);
