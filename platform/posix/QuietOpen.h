// Opening a file or directory the walk met: without touching its last-access
// time (reading a file's fields must not change it, or the next report's Last
// Accessed column shows this one), and at any depth.
#pragma once

namespace platform {

// open() with O_NOATIME where the kernel permits it (to the file's owner or
// a caller with CAP_FOWNER), else a plain open(). A path longer than the
// kernel takes whole is opened component by component.
int OpenQuietly(const char* path, int flags);

}  // namespace platform
