#include <string.h>
#include <sys/resource.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include "platform/SecretText.h"

namespace tarvelo {

void WipeBytes(char* bytes, std::size_t size) noexcept {
    // explicit_bzero: a plain memset of memory about to be freed may be left out.
    ::explicit_bzero(bytes, size);
}

void KeepSecretsOutOfCoreDumps() {
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
#ifdef __linux__
    // A core_pattern that pipes to a collector ignores the limit; an undumpable process is
    // not dumped at all (and cannot be traced by other processes of the user either).
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

}  // namespace tarvelo
