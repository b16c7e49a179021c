#include "platform/registry.h"

namespace Platform {

std::unique_ptr<Registry> createSystemRegistry()
{
    // No system registry here: every lookup finds nothing, and the user enters paths by hand.
    return std::make_unique<MemoryRegistry>();
}

}
