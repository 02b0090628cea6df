#include "driver/FieldValue.h"

#include "driver/FileTableSchema.h"
#include "runtime/Diagnostics.h"

namespace {

constexpr const char* kSourceUnit = "FileSystem";

}  // namespace

DbStatus ReadFieldValue(FileRecord& record, int64_t fieldId, void** valueBuffer,
                        uint32_t bufferSize, uint16_t* nullFlag, uint32_t* valueType) {
    const FieldDefinition* field = FindFieldDefinition(fieldId);
    if (field == nullptr) {
        VL_ASSERT_UNREACHABLE("false");
        return Status_FieldNotFound;
    }
    field->read(record, FieldOutput{valueBuffer, bufferSize, nullFlag});
    *valueType = field->valueType;
    return Status_Success;
}
