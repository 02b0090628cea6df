#include "values/ValueConversion.h"

#include <cstring>

#include "runtime/Diagnostics.h"
#include "runtime/HostMemory.h"
#include "runtime/StringFunctions.h"
#include "values/DateTimeConversion.h"
#include "values/NumericConversion.h"
#include "values/PayloadAccess.h"
#include "values/ValueBuffer.h"
#include "values/ValueToText.h"

namespace {

constexpr const char* kSourceUnit = "dbconvert";

constexpr uint32_t kScratchBytes = 128;

// Runs a converter that yields its result, and stores the result only when
// the conversion succeeds.
template <class Result>
DbStatus ConvertAndStore(DbStatus (*convert)(const void*, DbValueType, Result&), const void* source,
                         DbValueType sourceType, void* destination) {
    Result result{};
    const DbStatus status = convert(source, sourceType, result);
    if (status == Status_Success)
        StorePayload(destination, result);
    return status;
}

// Text to text, widened first when it is narrow; fixed-size types are copied.
DbStatus CopySameType(const void* source, DbValueType type, bool narrow, void* destination,
                      uint32_t destinationBytes) {
    if (type == stringValue) {
        if (narrow) {
            SWCharString wide;
            wide.fromMBCS(static_cast<const char*>(source));
            if (destination != nullptr)
                wide.toWChar(static_cast<char16_t*>(destination), destinationBytes / 2);
        } else {
            CopyTextOut(static_cast<const char16_t*>(source), destination, destinationBytes);
        }
        return Status_Success;
    }
    VL_ASSERT_TEXT(IsFixedSizeValue(type), "IsFixedSizeValue (destType)");
    CopyValueBuffer(source, destination, destinationBytes, type);
    return Status_Success;
}

// The converter for the destination type; the source is wide text or not text.
DbStatus ConvertBetweenTypes(const void* source, DbValueType sourceType, void* destination,
                             DbValueType destinationType, uint32_t destinationBytes) {
    switch (destinationType) {
        case int8sValue:
        case int8uValue:
        case int16sValue:
        case int16uValue:
        case int32sValue:
        case int32uValue:
        case booleanValue:
        case int64sValue:
        case int64uValue:
            return ConvertToInteger(source, sourceType, destination, destinationType);
        case numberValue:
            return ConvertAndStore(ConvertToNumber, source, sourceType, destination);
        case currencyValue:
            return ConvertAndStore(ConvertToCurrency, source, sourceType, destination);
        case dateValue:
            return ConvertAndStore(ConvertToDate, source, sourceType, destination);
        case timeValue:
            return ConvertAndStore(ConvertToTime, source, sourceType, destination);
        case dateTimeValue:
            return ConvertAndStore(ConvertToDateTime, source, sourceType, destination);
        case stringValue:
            return ConvertToText(source, sourceType, destination, destinationBytes);
        case decimalValue:
            return ConvertAndStore(ConvertToDecimal, source, sourceType, destination);
        default:
            VL_ASSERT_UNREACHABLE("false");
            return Status_ConversionFailed;
    }
}

}  // namespace

uint32_t FixedValueSize(DbValueType type) {
    if (type == blobValue)
        return 8;
    if (uint32_t bytes = FixedPayloadBytes(type))
        return bytes;
    if (!IsTextType(type))
        VL_ASSERT_UNREACHABLE("false");
    return 0;
}

DbStatus ConvertValue(const void* source, DbValueType sourceType, uint32_t flags, void* destination,
                      DbValueType destinationType, uint32_t destinationBytes) {
    if (source == nullptr || destinationType == unknownValue || destinationType == blobValue) {
        VL_ASSERT_UNREACHABLE("FALSE");
        return Status_InvalidArgument;
    }
    if (sourceType == memoValue)
        sourceType = stringValue;
    if (destinationType == memoValue)
        destinationType = stringValue;
    if (IsFixedSizeValue(destinationType) && FixedValueSize(destinationType) > destinationBytes)
        return Status_BufferTooSmall;

    const bool narrow = (flags & kConvertNarrowSource) != 0 && sourceType == stringValue;
    if (sourceType == destinationType)
        return CopySameType(source, sourceType, narrow, destination, destinationBytes);

    // Converters write fixed-size results without looking further.
    if (destination == nullptr && destinationType != stringValue) {
        VL_ASSERT_UNREACHABLE("FALSE");
        return Status_InvalidArgument;
    }
    SWCharString widened;
    if (narrow) {
        widened.fromMBCS(static_cast<const char*>(source));
        source = widened.c_str();
    }
    return ConvertBetweenTypes(source, sourceType, destination, destinationType, destinationBytes);
}

DbStatus GetConvertedSize(const void* source, DbValueType sourceType, uint32_t flags,
                          DbValueType destinationType, uint32_t* size, bool exact) {
    *size = 0;
    if (source == nullptr || destinationType == blobValue || destinationType == unknownValue)
        return Status_InvalidArgument;
    if (uint32_t fixed = FixedValueSize(destinationType)) {
        *size = fixed;
        return Status_Success;
    }
    VL_ASSERT_TEXT(IsTextType(destinationType), "destType == stringValue");
    if (IsTextType(sourceType)) {
        size_t length;
        if (flags & kConvertNarrowSource) {
            SWCharString wide;
            wide.fromMBCS(static_cast<const char*>(source));
            length = wide.length();
        } else {
            length = TextLength(static_cast<const char16_t*>(source));
        }
        *size = static_cast<uint32_t>(length * 2 + 2);
        return Status_Success;
    }
    if (exact) {
        char16_t scratch[kScratchBytes / 2] = {};
        DbStatus status =
            ConvertValue(source, sourceType, flags, scratch, destinationType, kScratchBytes);
        if (status != Status_Success)
            return status;
        *size = static_cast<uint32_t>(TextLength(scratch) * 2 + 2);
        return Status_Success;
    }
    *size = kScratchBytes;
    return Status_Success;
}

DbStatus ConvertToNewBuffer(const void* source, DbValueType sourceType, uint32_t flags,
                            void** newBuffer, DbValueType destinationType) {
    if (IsTextType(sourceType) && IsTextType(destinationType) &&
        (flags & kConvertNarrowSource) == 0) {
        *newBuffer = DuplicateWideString(static_cast<const char16_t*>(source));
        return Status_Success;
    }
    uint32_t size = 0;
    DbStatus status = GetConvertedSize(source, sourceType, flags, destinationType, &size, false);
    if (status != Status_Success)
        return status;
    void* buffer = AllocateHostBlock(size);
    std::memset(buffer, 0, size);
    status = ConvertValue(source, sourceType, flags, buffer, destinationType, size);
    if (status != Status_Success) {
        // A failed conversion wrote nothing, so the block holds no reference
        // or global block: released as it is, whatever the type code says.
        FreeHostBlock(buffer);
        *newBuffer = nullptr;
        return status;
    }
    *newBuffer = buffer;
    return Status_Success;
}

bool GetValueAsBoolean(const DbValue* value, bool defaultValue) {
    if (value == nullptr || value->kind != singleKind || value->data == nullptr)
        return defaultValue;
    if (value->valueType == booleanValue)
        return LoadPayload<uint16_t>(value->data) != 0;
    uint16_t flag = 0;
    if (ConvertValue(value->data, value->valueType, 0, &flag, booleanValue, sizeof flag) !=
        Status_Success)
        return defaultValue;
    return flag != 0;
}

SWCharString GetValueAsString(const DbValue* value) {
    if (value == nullptr || value->kind != singleKind || value->data == nullptr)
        return {};
    if (value->valueType == stringValue)
        return SWCharString(static_cast<const char16_t*>(value->data));
    void* text = nullptr;
    if (ConvertToNewBuffer(value->data, value->valueType, 0, &text, stringValue) != Status_Success)
        return {};
    SWCharString result(static_cast<const char16_t*>(text));
    FreeValueBuffer(text, stringValue);
    return result;
}
