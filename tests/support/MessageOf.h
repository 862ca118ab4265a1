#pragma once
#include <string>

#include "base/Exceptions.h"

// The message of the base exception a callable raises; empty when it raises none.
template <class F>
std::string MessageOf(F&& f) {
    try {
        f();
    } catch (const base::Exception& e) {
        return e.Message();
    }
    return {};
}
