#include "values/ValueRecord.h"

#include <cstring>
#include <new>

#include "runtime/Diagnostics.h"
#include "runtime/HostMemory.h"
#include "values/ValueBuffer.h"

namespace {

constexpr const char* kSourceUnit = "dbvalue";

constexpr uint32_t kValueSize = 24;
constexpr uint32_t kRangeSize = 40;
constexpr uint32_t kListSize = 16;
constexpr uint32_t kFieldSize = 72;
constexpr uint32_t kCompoundSize = 120;
constexpr uint64_t kInlineCapacity = 7;

template <typename T>
T* NewHostRecord() {
    return static_cast<T*>(AllocateHostBlock(sizeof(T)));
}

// A new value holding a deep copy of `source` (an empty unknownValue for null).
DbValue* NewValueCopy(const DbValue* source) {
    DbValue* value = NewValue(unknownValue);
    try {
        AssignValue(value, source);
    } catch (...) {
        // A failed assignment leaves the value empty.
        DeleteValue(value);
        throw;
    }
    return value;
}

// The units of a wide-string object, wherever they live.
const char16_t* WideStringText(const DbWideStringObject& text) {
    return text.capacity > kInlineCapacity ? text.storage.heapText : text.storage.inlineText;
}

void ReleaseWideString(DbWideStringObject* text) {
    if (text->capacity > kInlineCapacity)
        FreeHostBlock(text->storage.heapText);
    std::memset(text, 0, sizeof *text);
    text->capacity = kInlineCapacity;
}

// `to` must be empty.
void CopyWideString(DbWideStringObject* to, const DbWideStringObject& from) {
    const char16_t* units = WideStringText(from);
    uint64_t length = from.length;
    if (units == nullptr)
        length = 0;
    else if (from.capacity <= kInlineCapacity && length > kInlineCapacity)
        length = kInlineCapacity;  // an inline text cannot be longer
    if (length <= kInlineCapacity) {
        if (length != 0)
            std::memcpy(to->storage.inlineText, units, length * sizeof(char16_t));
        to->storage.inlineText[length] = u'\0';
    } else {
        auto* heap = static_cast<char16_t*>(AllocateHostBlock((length + 1) * sizeof(char16_t)));
        std::memcpy(heap, units, length * sizeof(char16_t));
        heap[length] = u'\0';
        to->storage.heapText = heap;
        to->capacity = length;
    }
    to->length = length;
}

// Releases everything a compound record owns; the record stays allocated.
void ReleaseCompoundContents(DbCompoundRecord* record) {
    FreeHostBlock(record->firstText);
    FreeHostBlock(record->secondText);
    DeleteValue(record->firstValue);
    DeleteValue(record->secondValue);
    record->firstText = nullptr;
    record->secondText = nullptr;
    record->firstValue = nullptr;
    record->secondValue = nullptr;
    ReleaseWideString(&record->wideString);
}

void CopyFieldDescription(FieldDescription* to, const FieldDescription& from) {
    to->reserved = from.reserved;
    to->name = DuplicateWideString(from.name);
    to->text16 = DuplicateWideString(from.text16);
    to->description = DuplicateWideString(from.description);
    if (from.structSize >= 40)
        to->text32 = DuplicateWideString(from.text32);
    to->one40 = from.one40;
    to->zero44 = from.zero44;
    to->valueType = from.valueType;
    to->length = from.length;
    to->structSize = from.structSize;
    to->word60 = from.word60;
    to->word64 = from.word64;
    if (from.structSize >= 72)
        to->word68 = from.word68;
}

void CopyCompoundRecord(DbCompoundRecord* to, const DbCompoundRecord& from) {
    to->firstText = DuplicateWideString(from.firstText);
    to->secondText = DuplicateWideString(from.secondText);
    if (from.firstValue != nullptr)
        to->firstValue = NewValueCopy(from.firstValue);
    to->secondValue = NewValueCopy(from.secondValue);
    to->word32 = from.word32;
    std::memcpy(to->words36, from.words36, sizeof to->words36);
    to->structSize = from.structSize;
    std::memcpy(to->fixedWords, from.fixedWords, sizeof to->fixedWords);
    for (uint32_t i = 0; i < 7; ++i) {
        if (from.structSize >= 64 + 2 * i)
            to->optionalWords[i] = from.optionalWords[i];
    }
    CopyWideString(&to->wideString, from.wideString);
    to->byte112 = from.byte112;
}

DbRangeValue* NewRangeCopy(DbValueType type, const DbRangeValue& source) {
    auto* range = NewHostRecord<DbRangeValue>();
    try {
        MakeRange(range, type, source.start, source.startFlag, source.end, source.endFlag);
    } catch (...) {
        FreeHostBlock(range);
        throw;
    }
    return range;
}

DbValueList* NewListCopy(const DbValueList& source) {
    auto* list = NewHostRecord<DbValueList>();
    list->structSize = kListSize;
    list->count = source.count;
    list->items = nullptr;
    if (source.count == 0)
        return list;
    try {
        list->items = static_cast<DbValue**>(AllocateHostBlock(source.count * sizeof(DbValue*)));
        std::memset(list->items, 0, source.count * sizeof(DbValue*));
        // A null source member becomes an empty unknownValue member, as an
        // assignment from null leaves it: the copy never holds null members.
        for (uint32_t i = 0; i < source.count; ++i)
            list->items[i] = NewValueCopy(source.items != nullptr ? source.items[i] : nullptr);
    } catch (...) {
        if (list->items != nullptr) {
            for (uint32_t i = 0; i < source.count; ++i)
                DeleteValue(list->items[i]);
            FreeHostBlock(list->items);
        }
        FreeHostBlock(list);
        throw;
    }
    return list;
}

FieldDescription* NewFieldCopy(const FieldDescription* source) {
    auto* field = NewHostRecord<FieldDescription>();
    InitFieldDescription(field);
    if (source != nullptr) {
        try {
            CopyFieldDescription(field, *source);
        } catch (...) {
            DeleteFieldDescription(field);
            throw;
        }
    }
    return field;
}

DbCompoundRecord* NewCompoundCopy(const DbCompoundRecord* source) {
    auto* record = NewHostRecord<DbCompoundRecord>();
    InitCompoundRecord(record);
    if (source != nullptr) {
        try {
            CopyCompoundRecord(record, *source);
        } catch (...) {
            ReleaseCompoundContents(record);
            FreeHostBlock(record);
            throw;
        }
    }
    return record;
}

bool IsPlainBound(const DbValue* bound) {
    return bound != nullptr && bound->kind != rangeKind && bound->kind != multipleKind;
}

}  // namespace

void InitValue(DbValue* value, DbValueType type) {
    value->structSize = kValueSize;
    value->kind = emptyKind;
    value->valueType = type;
    value->reserved = 0;
    value->data = nullptr;
}

void CopyValue(DbValue* value, const DbValue* source) {
    InitValue(value, unknownValue);
    AssignValue(value, source);
}

DbStatus AssignValue(DbValue* value, const DbValue* source) {
    if (value == source)
        return Status_Success;
    ClearValue(value);
    if (source == nullptr)
        return Status_Success;
    value->valueType = source->valueType;
    // Each branch builds its block whole before the value takes it.
    switch (source->kind) {
        case emptyKind:
            return Status_Success;
        case singleKind:
            value->data = DuplicateValueBuffer(source->data, source->valueType);
            break;
        case rangeKind:
            if (source->data != nullptr)
                value->data =
                    NewRangeCopy(source->valueType, *static_cast<DbRangeValue*>(source->data));
            break;
        case multipleKind:
            if (source->data != nullptr)
                value->data = NewListCopy(*static_cast<DbValueList*>(source->data));
            break;
        case fieldKind:
            value->data = NewFieldCopy(static_cast<FieldDescription*>(source->data));
            break;
        case compoundKind:
            value->data = NewCompoundCopy(static_cast<DbCompoundRecord*>(source->data));
            break;
        default:
            VL_ASSERT_UNREACHABLE("FALSE");
            return Status_NotSupported;
    }
    value->kind = source->kind;
    return Status_Success;
}

void MakeRange(DbRangeValue* range, DbValueType type, const DbValue* start, uint16_t startFlag,
               const DbValue* end, uint16_t endFlag) {
    std::memset(range, 0, sizeof *range);
    range->structSize = kRangeSize;
    range->startFlag = startFlag;
    range->endFlag = endFlag;
    range->start = start != nullptr ? NewValueCopy(start) : NewValue(type);
    try {
        range->end = end != nullptr ? NewValueCopy(end) : NewValue(type);
    } catch (...) {
        DeleteValue(range->start);
        range->start = nullptr;
        throw;
    }
    VL_ASSERT_TEXT(IsPlainBound(range->start),
                   "startValue != NULL && !startValue->hasRangeValue () && "
                   "!startValue->hasMultipleValues ()");
    VL_ASSERT_TEXT(IsPlainBound(range->end),
                   "endValue != NULL && !endValue->hasRangeValue () && "
                   "!endValue->hasMultipleValues ()");
}

void ClearValue(DbValue* value) {
    void* data = value->data;
    switch (value->kind) {
        case emptyKind:
            // Whatever an empty value points at is not its own.
            VL_ASSERT_TEXT(data == nullptr, "value == NULL");
            break;
        case singleKind:
            FreeValueBuffer(data, value->valueType);
            break;
        case rangeKind:
            if (auto* range = static_cast<DbRangeValue*>(data)) {
                DeleteValue(range->start);
                DeleteValue(range->end);
                FreeHostBlock(range);
            }
            break;
        case multipleKind:
            if (auto* list = static_cast<DbValueList*>(data)) {
                if (list->items != nullptr) {
                    for (uint32_t i = 0; i < list->count; ++i)
                        DeleteValue(list->items[i]);
                    FreeHostBlock(list->items);
                }
                FreeHostBlock(list);
            }
            break;
        case fieldKind:
            DeleteFieldDescription(static_cast<FieldDescription*>(data));
            break;
        case compoundKind:
            if (auto* record = static_cast<DbCompoundRecord*>(data)) {
                ReleaseCompoundContents(record);
                FreeHostBlock(record);
            }
            break;
        default:
            VL_ASSERT_UNREACHABLE("FALSE");
            break;
    }
    value->kind = emptyKind;
    value->data = nullptr;
}

void DestroyValue(DbValue* value) {
    try {
        ClearValue(value);
    } catch (...) {
        // Releasing runs from destructors and free entry points: nothing may escape.
    }
}

void SetSingleValue(DbValue* value, DbValueType type, void* buffer, uint16_t copy) {
    ClearValue(value);
    value->valueType = type;
    void* data = copy != 0 ? DuplicateValueBuffer(buffer, type) : buffer;
    value->data = data;
    value->kind = data != nullptr ? singleKind : emptyKind;
}

DbValue* NewValue(DbValueType type) {
    auto* value = NewHostRecord<DbValue>();
    InitValue(value, type);
    return value;
}

void DeleteValue(DbValue* value) {
    if (value == nullptr)
        return;
    DestroyValue(value);
    FreeHostBlock(value);
}

void InitFieldDescription(FieldDescription* field) {
    std::memset(field, 0, sizeof *field);
    field->one40 = 1;
    field->valueType = unknownValue;
    field->structSize = kFieldSize;
}

void DeleteFieldDescription(FieldDescription* field) {
    if (field == nullptr)
        return;
    FreeHostBlock(field->name);
    FreeHostBlock(field->text16);
    FreeHostBlock(field->description);
    FreeHostBlock(field->text32);
    FreeHostBlock(field);
}

void InitCompoundRecord(DbCompoundRecord* record) {
    std::memset(record, 0, sizeof *record);
    record->words36[0] = unknownValue;
    record->structSize = kCompoundSize;
    record->optionalWords[6] = 1;
    record->wideString.capacity = kInlineCapacity;
}
