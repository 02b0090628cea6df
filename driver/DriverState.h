// The driver's process-wide state: the lock that serialises the first and the
// last use, and the count of users.
#pragma once

#include <cstdint>
#include <mutex>

// Exists from static initialisation, before any entry point can run.
extern std::mutex DriverLock;
// DbInitialize calls not yet matched by DbTerminate; only under DriverLock.
extern int32_t DriverUseCount;
