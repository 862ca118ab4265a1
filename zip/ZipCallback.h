#pragma once
// The function the unpack library calls back: it hands the record to the TZipFront named as the
// caller identity, whose answer (0 go on, -1 cancel) goes back to the library.

#include "zip/Unpack32.h"

extern "C" int32_t UNPACK_CALL ZipCallback(TUnpackCallbackRec* rec);
