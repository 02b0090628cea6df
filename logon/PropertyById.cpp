#include "logon/PropertyById.h"

#include "logon/Property.h"
#include "logon/PropertyCollection.h"
#include "resources/TextIds.h"
#include "runtime/ResourceTexts.h"
#include "values/ValueConversion.h"

namespace {

const DbProperty* FindById(const DbPropertyCollection* collection, uint32_t id,
                           const char16_t* locale) {
    SWCharString key = LoadResourceText(id, kDefaultLanguage);
    SWCharString secondKey = LoadResourceText(id, locale);
    return FindProperty(collection, key.c_str(), secondKey.c_str());
}

}  // namespace

SWCharString GetStringPropertyById(const DbPropertyCollection* collection, uint32_t id,
                                   const char16_t* locale) {
    const DbProperty* property = FindById(collection, id, locale);
    return property != nullptr ? GetPropertyString(property) : SWCharString();
}

bool GetBooleanPropertyById(const DbPropertyCollection* collection, uint32_t id,
                            const char16_t* locale, bool defaultValue) {
    const DbProperty* property = FindById(collection, id, locale);
    return property != nullptr ? GetPropertyBoolean(property, defaultValue) : defaultValue;
}

int32_t GetIntegerPropertyById(const DbPropertyCollection* collection, uint32_t id,
                               const char16_t* locale, int32_t defaultValue) {
    const DbProperty* property = FindById(collection, id, locale);
    if (property == nullptr)
        return defaultValue;
    const DbValue* value = property->value;
    if (value == nullptr || value->kind != singleKind || value->data == nullptr)
        return defaultValue;
    int32_t number = 0;
    if (ConvertValue(value->data, value->valueType, 0, &number, int32sValue, sizeof number) !=
        Status_Success)
        return defaultValue;
    return number;
}
