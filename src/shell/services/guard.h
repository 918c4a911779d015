#pragma once

#include "shell/services/services.h"
#include "shell/types/errors.h"

#include <utility>

namespace varnek {

// Wraps an event handler so that a RuntimeError ends the handler, is reported, and never
// crosses Qt's event loop.
template <typename Handler>
auto guarded(Services &services, Handler handler)
{
    // Takes no arguments: Qt drops the signal's, and no handler here needs them.
    return [&services, handler = std::move(handler)] {
        try {
            handler();
        } catch (const RuntimeError &error) {
            services.reportError(error);
        }
    };
}

} // namespace varnek
