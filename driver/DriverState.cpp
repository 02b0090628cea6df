#include "driver/DriverState.h"

std::mutex DriverLock;
int32_t DriverUseCount = 0;
