// The identity and file path of a loaded module (the driver library).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using ModuleHandle = void*;

// The handle recorded when this module was attached to the process, or null
// in a program that did not link the module entry (ModuleEntry.cpp).
ModuleHandle AttachedModuleHandle();

// Called by the module entry, once, on process attach.
void RecordAttachedModule(ModuleHandle module);

// Writes the absolute path of `module` into `buffer` (NUL-terminated,
// truncated to `capacity` units) and returns its length in units, or 0 when
// the path cannot be read (GetModuleFileNameW's convention).
uint32_t GetModuleFilePath(ModuleHandle module, char16_t* buffer, uint32_t capacity);

// The absolute path of the module (program or library) whose code or data
// holds `address`; empty when there is none.
std::u16string ModulePathContaining(const void* address);

// The absolute path of the running program; empty when it cannot be read.
std::u16string ExecutablePath();

}  // namespace platform
