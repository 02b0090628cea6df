#include "logon/LogonDescription.h"

#include "logon/Property.h"
#include "logon/PropertyCollection.h"
#include "logon/PropertyHints.h"
#include "resources/TextIds.h"
#include "runtime/ResourceTexts.h"
#include "values/ValueBuffer.h"

namespace {

constexpr const char16_t* kAllFilesMask = u"*.*";

// Texts of the description: in the caller's language, or in the default one
// where a property's name must not depend on who asks.
class DescriptionTexts {
public:
    explicit DescriptionTexts(const char16_t* languageTag) : languageTag_(languageTag) {}
    SWCharString caller(uint32_t id) const { return LoadResourceText(id, languageTag_); }
    SWCharString fixed(uint32_t id) const { return LoadResourceText(id, kDefaultLanguage); }

private:
    const char16_t* languageTag_;
};

void SetTexts(DbProperty* property, const SWCharString* name, const SWCharString* displayName,
              const SWCharString* description) {
    property->name = name != nullptr ? DuplicateWideString(name->c_str()) : nullptr;
    property->displayName =
        displayName != nullptr ? DuplicateWideString(displayName->c_str()) : nullptr;
    property->description =
        description != nullptr ? DuplicateWideString(description->c_str()) : nullptr;
}

// The properties of the four values, built one by one; `hinted` adds the
// hints of the dialog.
class LogonProperties {
public:
    LogonProperties(const DescriptionTexts& texts, bool hinted) : texts_(texts), hinted_(hinted) {}

    void StartingDirectory(DbPropertyCollection* to, const SWCharString& directory) const {
        LocalProperty property;
        SWCharString name = texts_.caller(kTextStartingDirectory);
        SetTexts(property.get(), &name, nullptr, nullptr);
        property->valueType = stringValue;
        if (!directory.isEmpty())
            SetPropertyString(property.get(), directory.c_str());
        if (hinted_) {
            SetUiControlType(property.get(), UiControl_DirectoryChooser);
            LocalProperty caption;
            caption->name = DuplicateWideString(kHintDialogCaption);
            caption->valueType = stringValue;
            SetPropertyString(caption.get(), texts_.caller(kTextChooseStartingDirectory).c_str());
            AddUiInfo(property.get(), caption.get());
        }
        AddPropertyCopy(to, property.get());
    }

    void Text(DbPropertyCollection* to, uint32_t id, const SWCharString& text) const {
        LocalProperty property;
        Label(property.get(), id);
        property->valueType = stringValue;
        if (!text.isEmpty())
            SetPropertyString(property.get(), text.c_str());
        if (hinted_)
            SetUiControlType(property.get(), UiControl_Edit);
        AddPropertyCopy(to, property.get());
    }

    void Number(DbPropertyCollection* to, uint32_t id, int32_t number) const {
        LocalProperty property;
        Label(property.get(), id);
        property->valueType = int32sValue;
        SetPropertyValue(property.get(), &number, 1);
        if (hinted_)
            SetUiControlType(property.get(), UiControl_Edit);
        AddPropertyCopy(to, property.get());
    }

    // A check box; `requestHandler` 0 when changing it asks nothing of the driver.
    void Flag(DbPropertyCollection* to, uint32_t id, bool flag, uint32_t requestHandler) const {
        LocalProperty property;
        Label(property.get(), id);
        property->valueType = booleanValue;
        uint16_t value = flag ? 1 : 0;
        SetPropertyValue(property.get(), &value, 1);
        if (hinted_) {
            SetUiControlType(property.get(), UiControl_CheckBox);
            if (requestHandler != 0)
                SetRequestHandler(property.get(), requestHandler);
        }
        AddPropertyCopy(to, property.get());
    }

private:
    // Named by the default text, labelled by the caller's.
    void Label(DbProperty* property, uint32_t id) const {
        SWCharString name = texts_.fixed(id);
        SWCharString label = texts_.caller(id);
        SetTexts(property, &name, &label, nullptr);
    }

    const DescriptionTexts& texts_;
    bool hinted_;
};

// A hint that carries no value, only its name.
void AddMarkerHint(DbProperty* property, const char16_t* key) {
    LocalProperty hint;
    hint->name = DuplicateWideString(key);
    AddUiInfo(property, hint.get());
}

}  // namespace

DbStatus BuildLogonDescription(DbPropertyCollection* collection, const char16_t* languageTag,
                               const SWCharString& startingDirectory, const SWCharString& fileMask,
                               int32_t maxSubDirLevels, bool includeEmptyDirectories, bool tabbed) {
    const DescriptionTexts texts(languageTag);
    const LogonProperties properties(texts, tabbed);
    if (!tabbed) {
        properties.StartingDirectory(collection, startingDirectory);
        properties.Text(collection, kTextFileMask, fileMask);
        properties.Number(collection, kTextMaxSubDirLevels, maxSubDirLevels);
        properties.Flag(collection, kTextIncludeEmptyDirectories, includeEmptyDirectories, 0);
        return Status_Success;
    }

    LocalProperty caption;
    caption->name = DuplicateWideString(kHintDialogCaption);
    caption->valueType = stringValue;
    SetPropertyString(caption.get(), texts.caller(kTextDatabaseType).c_str());
    AddPropertyCopy(collection, caption.get());

    // The tab lists the properties in display order, each check box before
    // the value it governs.
    LocalProperty members;
    members->name = DuplicateWideString(kHintTabProperties);
    members->uiInfo = NewCollection();
    DbPropertyCollection* list = members->uiInfo;
    const bool allFiles = fileMask.isEmpty() || fileMask.str() == kAllFilesMask;
    properties.StartingDirectory(list, startingDirectory);
    properties.Flag(list, kTextIncludeAllFiles, allFiles, kRequestIncludeAllFiles);
    properties.Text(list, kTextFileMask, fileMask);
    properties.Flag(list, kTextIncludeAllSubdirectories, maxSubDirLevels == -1,
                    kRequestIncludeAllSubdirectories);
    properties.Number(list, kTextMaxSubDirLevels, maxSubDirLevels);
    properties.Flag(list, kTextIncludeEmptyDirectories, includeEmptyDirectories, 0);

    LocalProperty tab;
    SWCharString tabName = texts.caller(kTextConnectionTab);
    SWCharString prompt = texts.caller(kTextConnectionPrompt);
    SetTexts(tab.get(), &tabName, nullptr, &prompt);
    AddMarkerHint(tab.get(), kHintTab);
    AddUiInfo(tab.get(), members.get());
    AddPropertyCopy(collection, tab.get());
    return Status_Success;
}
