// Chooses a test's expectation where the two builds differ on purpose.
#pragma once

namespace testing_platform {

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

template <typename T>
T OnPlatform(T posix, T windows) {
    return kWindows ? windows : posix;
}

}  // namespace testing_platform
