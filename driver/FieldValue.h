// Reading one field of the current row in its own value type, as
// DbReadFieldValue hands it to the engine.
#pragma once

#include <cstdint>

#include "vldb/dbdriver.h"

class FileRecord;

// Writes field `fieldId` (1 to 65) of `record` at *valueBuffer: texts by the
// text protocol (into the engine's buffer when they fit, else into a new
// block that replaces the pointer), fixed-size values as they are. Sets the
// null flag and the value type; Status_FieldNotFound for other identifiers.
DbStatus ReadFieldValue(FileRecord& record, int64_t fieldId, void** valueBuffer,
                        uint32_t bufferSize, uint16_t* nullFlag, uint32_t* valueType);
