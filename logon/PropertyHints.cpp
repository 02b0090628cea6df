#include "logon/PropertyHints.h"

#include "logon/Property.h"
#include "values/ValueBuffer.h"

void SetUiControlType(DbProperty* property, uint32_t code) {
    AddNumberHint(property, kHintUiControlType, code);
}

void SetRequestHandler(DbProperty* property, uint32_t number) {
    AddNumberHint(property, kHintRequestHandler, number);
}

void AddNumberHint(DbProperty* property, const char16_t* key, uint32_t number) {
    LocalProperty hint;
    hint->name = DuplicateWideString(key);
    hint->valueType = int32uValue;
    SetPropertyValue(hint.get(), &number, 1);
    AddUiInfo(property, hint.get());
}
