#include "core/SecretWipe.h"

#include <string.h>
#include <sys/prctl.h>

void WipeMemory(void* data, size_t size) {
    if (data && size > 0)
        ::explicit_bzero(data, size);
}

void ForbidCoreDumps() {
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}
