#include "logon/PropertyRequests.h"

#include <cstring>

#include "logon/Property.h"
#include "logon/PropertyCollection.h"
#include "logon/PropertyHints.h"
#include "resources/TextIds.h"
#include "runtime/Diagnostics.h"
#include "runtime/ResourceTexts.h"
#include "values/ValueBuffer.h"

namespace {

constexpr const char* kSourceUnit = "fslogon";

// An update names the property it applies to and carries what to do in its
// hints; it has no value of its own.
void AddUpdate(DbPropertyCollection* collection, const char16_t* name, uint32_t messageType,
               DbValueType argumentType, void* argument) {
    LocalProperty update;
    update->name = DuplicateWideString(name);
    AddNumberHint(update.get(), kHintUpdateMessageType, messageType);
    LocalProperty toValue;
    toValue->name = DuplicateWideString(kHintUpdateToValue);
    toValue->valueType = argumentType;
    SetPropertyValue(toValue.get(), argument, 1);
    AddUiInfo(update.get(), toValue.get());
    AddPropertyCopy(collection, update.get());
}

// The state of the check box named by resource `id`, found at any depth;
// false when it holds no single boolean.
bool ReadCheckBox(const DbPropertyCollection* properties, uint32_t id, bool& checked) {
    SWCharString key = LoadResourceText(id, kDefaultLanguage);
    const DbValue* value = FindValueDeep(properties, key.c_str(), false);
    if (value == nullptr || value->kind != singleKind || value->data == nullptr ||
        value->valueType != booleanValue) {
        VL_ASSERT_UNREACHABLE("false");
        return false;
    }
    uint16_t flag = 0;
    std::memcpy(&flag, value->data, sizeof flag);
    checked = flag != 0;
    return true;
}

}  // namespace

void AddValueUpdate(DbPropertyCollection* collection, const char16_t* name, const char16_t* text) {
    AddUpdate(collection, name, UpdateMessage_SetValue, stringValue, const_cast<char16_t*>(text));
}

void AddEnableUpdate(DbPropertyCollection* collection, const char16_t* name, bool enabled) {
    uint16_t flag = enabled ? 1 : 0;
    AddUpdate(collection, name, UpdateMessage_Enable, booleanValue, &flag);
}

DbStatus HandleFileMaskRequest(const DbPropertyCollection* properties,
                               DbPropertyCollection** answer) {
    *answer = nullptr;
    bool checked = false;
    if (!ReadCheckBox(properties, kTextIncludeAllFiles, checked))
        return Status_NotSupported;
    CollectionPtr updates(NewCollection());
    SWCharString mask = LoadResourceText(kTextFileMask, kDefaultLanguage);
    if (checked)
        AddValueUpdate(updates.get(), mask.c_str(), u"*.*");
    AddEnableUpdate(updates.get(), mask.c_str(), !checked);
    *answer = updates.release();
    return Status_Success;
}

DbStatus HandleLevelRequest(const DbPropertyCollection* properties, DbPropertyCollection** answer) {
    *answer = nullptr;
    bool checked = false;
    if (!ReadCheckBox(properties, kTextIncludeAllSubdirectories, checked))
        return Status_NotSupported;
    CollectionPtr updates(NewCollection());
    SWCharString levels = LoadResourceText(kTextMaxSubDirLevels, kDefaultLanguage);
    // Unlike the mask, the limit is reset in both directions.
    AddValueUpdate(updates.get(), levels.c_str(), checked ? u"-1" : u"0");
    AddEnableUpdate(updates.get(), levels.c_str(), !checked);
    *answer = updates.release();
    return Status_Success;
}
