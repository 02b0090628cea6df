// Texts of values: decimal numbers, and dates and times in the user's locale.
#pragma once

#include <cstdint>

#include "vldb/dbdriver.h"

// Copies a text into the destination: at most (bytes / 2) - 1 characters and
// a terminating NUL, when the destination has room for one.
void CopyTextOut(const char16_t* text, void* destination, uint32_t destinationBytes);

// The text of any type but text and blobs, cut to the destination.
DbStatus ConvertToText(const void* source, DbValueType sourceType, void* destination,
                       uint32_t destinationBytes);
