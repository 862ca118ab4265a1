#include "gui/Host.h"

namespace gui {

namespace {
THost* current = nullptr;
}  // namespace

THost* Host() {
    return current;
}

void SetHost(THost* host) {
    current = host;
}

}  // namespace gui
