// The keys of the hints that say how the engine draws and updates a logon
// property, and the setters of the two numeric hints.
#pragma once

#include <cstdint>

#include "vldb/dbdriver.h"

constexpr const char16_t* kHintDialogCaption = u"PropInfo_DialogCaption";
constexpr const char16_t* kHintTab = u"PropInfo_Tab";
constexpr const char16_t* kHintTabProperties = u"PropInfo_TabProperties";
constexpr const char16_t* kHintUiControlType = u"PropInfo_UiControlType";
constexpr const char16_t* kHintRequestHandler = u"PropInfo_RequestHandler";
constexpr const char16_t* kHintUpdateMessageType = u"PropInfo_UpdateMessageType";
constexpr const char16_t* kHintUpdateToValue = u"PropInfo_UpdateToValue";

// The numbers that the dialog's check boxes pass to DbHandleUIPropertyRequest.
constexpr uint32_t kRequestIncludeAllFiles = 1;
constexpr uint32_t kRequestIncludeAllSubdirectories = 2;

// Appends a PropInfo_UiControlType hint holding `code` (int32uValue).
void SetUiControlType(DbProperty* property, uint32_t code);
// Appends a PropInfo_RequestHandler hint holding `number` (int32uValue).
void SetRequestHandler(DbProperty* property, uint32_t number);
// Appends a hint named `key` holding `number` (int32uValue).
void AddNumberHint(DbProperty* property, const char16_t* key, uint32_t number);
