#include "console/windows/console_lock.hpp"

#include <windows.h>

namespace console {
namespace {
SRWLOCK lock = SRWLOCK_INIT;
} // namespace

ConsoleLock::ConsoleLock() {
    AcquireSRWLockExclusive(&lock);
}

ConsoleLock::~ConsoleLock() {
    ReleaseSRWLockExclusive(&lock);
}

} // namespace console
