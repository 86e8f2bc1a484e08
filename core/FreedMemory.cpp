#include "core/FreedMemory.h"

#include <malloc.h>

namespace orvel::FreedMemory {

void release() {
    ::malloc_trim(0);
}

} // namespace orvel::FreedMemory
