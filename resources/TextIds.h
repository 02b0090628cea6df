// Ids of the driver's resource texts: the entries of StringTable1033.inc and
// of the translations beside the driver.
#pragma once

#include <cstdint>

// Logon properties and the logon dialog.
constexpr uint32_t kTextStartingDirectory = 1;
constexpr uint32_t kTextFileMask = 2;
constexpr uint32_t kTextMaxSubDirLevels = 3;
constexpr uint32_t kTextInvalidStartingDirectory = 4;
constexpr uint32_t kTextIncludeEmptyDirectories = 136;
constexpr uint32_t kTextConnectionTab = 147;
constexpr uint32_t kTextConnectionPrompt = 148;
constexpr uint32_t kTextChooseStartingDirectory = 149;
constexpr uint32_t kTextIncludeAllFiles = 150;
constexpr uint32_t kTextIncludeAllSubdirectories = 151;

// The driver and its cheap fields.
constexpr uint32_t kTextDatabaseType = 131;
constexpr uint32_t kTextLocalComputer = 129;
// Follows the upper-cased extension when no class describes it.
constexpr uint32_t kTextFileTypeSuffix = 130;

// Words of the ACL text: the access entry's type, then its rights.
constexpr uint32_t kTextAccessAllowed = 139;
constexpr uint32_t kTextAccessDenied = 140;
constexpr uint32_t kTextSystemAudit = 141;
constexpr uint32_t kTextSystemAlarm = 142;
constexpr uint32_t kTextFullControl = 143;
constexpr uint32_t kTextChange = 144;
constexpr uint32_t kTextRead = 145;
constexpr uint32_t kTextNoAccess = 146;

// Field names, in field order.
constexpr uint32_t kTextFieldComputer = 5;
constexpr uint32_t kTextFieldDirectory = 6;
constexpr uint32_t kTextFieldDirectoryName = 132;
constexpr uint32_t kTextFieldParentDirectory = 133;
constexpr uint32_t kTextFieldFileName = 7;
constexpr uint32_t kTextFieldAlternateFileName = 8;
constexpr uint32_t kTextFieldExtension = 9;
constexpr uint32_t kTextFieldFileType = 10;
constexpr uint32_t kTextFieldFileSize = 11;
constexpr uint32_t kTextFieldCompressedSize = 12;
constexpr uint32_t kTextFieldLastWritten = 13;
constexpr uint32_t kTextFieldCreationTime = 14;
constexpr uint32_t kTextFieldLastAccessed = 15;
constexpr uint32_t kTextFieldFileVersion = 16;
constexpr uint32_t kTextFieldFileDescription = 17;
constexpr uint32_t kTextFieldInternalName = 18;
constexpr uint32_t kTextFieldCompanyName = 19;
constexpr uint32_t kTextFieldVersionComments = 20;
constexpr uint32_t kTextFieldLegalCopyright = 21;
constexpr uint32_t kTextFieldLegalTrademarks = 22;
constexpr uint32_t kTextFieldOriginalFileName = 23;
constexpr uint32_t kTextFieldProductName = 24;
constexpr uint32_t kTextFieldProductVersion = 25;
constexpr uint32_t kTextFieldPrivateBuild = 26;
constexpr uint32_t kTextFieldSpecialBuild = 27;
constexpr uint32_t kTextFieldVersionLanguage = 28;
constexpr uint32_t kTextFieldBinaryFileVersion = 29;
constexpr uint32_t kTextFieldBinaryProductVersion = 30;
constexpr uint32_t kTextFieldIsDebug = 31;
constexpr uint32_t kTextFieldIsPatched = 32;
constexpr uint32_t kTextFieldIsPrerelease = 33;
constexpr uint32_t kTextFieldIsPrivateBuild = 34;
constexpr uint32_t kTextFieldIsSpecialBuild = 35;
constexpr uint32_t kTextFieldOwner = 36;
constexpr uint32_t kTextFieldOwnerDomain = 37;
constexpr uint32_t kTextFieldAcl = 38;
constexpr uint32_t kTextFieldIsArchived = 39;
constexpr uint32_t kTextFieldIsHidden = 40;
constexpr uint32_t kTextFieldIsNormal = 41;
constexpr uint32_t kTextFieldIsReadOnly = 42;
constexpr uint32_t kTextFieldIsSystemFile = 43;
constexpr uint32_t kTextFieldIsCompressed = 44;
constexpr uint32_t kTextFieldIsTemporary = 45;
constexpr uint32_t kTextFieldIsOffline = 46;
constexpr uint32_t kTextFieldAttributes = 47;
constexpr uint32_t kTextFieldAttributeString = 137;
constexpr uint32_t kTextFieldAbsoluteLevel = 48;
constexpr uint32_t kTextFieldRelativeLevel = 49;
constexpr uint32_t kTextFieldTitle = 50;
constexpr uint32_t kTextFieldSubject = 51;
constexpr uint32_t kTextFieldAuthor = 52;
constexpr uint32_t kTextFieldKeywords = 53;
constexpr uint32_t kTextFieldSummaryComments = 54;
constexpr uint32_t kTextFieldTemplate = 55;
constexpr uint32_t kTextFieldLastAuthor = 56;
constexpr uint32_t kTextFieldRevisionNumber = 57;
constexpr uint32_t kTextFieldEditTime = 58;
constexpr uint32_t kTextFieldLastPrintDate = 59;
constexpr uint32_t kTextFieldSummaryCreationDate = 60;
constexpr uint32_t kTextFieldLastSavedDate = 61;
constexpr uint32_t kTextFieldPageCount = 62;
constexpr uint32_t kTextFieldWordCount = 63;
constexpr uint32_t kTextFieldCharacterCount = 64;
constexpr uint32_t kTextFieldApplicationName = 65;
constexpr uint32_t kTextFieldSummarySecurity = 66;

// Field descriptions, in field order.
constexpr uint32_t kTextAboutComputer = 67;
constexpr uint32_t kTextAboutDirectory = 68;
constexpr uint32_t kTextAboutDirectoryName = 134;
constexpr uint32_t kTextAboutParentDirectory = 135;
constexpr uint32_t kTextAboutFileName = 69;
constexpr uint32_t kTextAboutAlternateFileName = 70;
constexpr uint32_t kTextAboutExtension = 71;
constexpr uint32_t kTextAboutFileType = 72;
constexpr uint32_t kTextAboutFileSize = 73;
constexpr uint32_t kTextAboutCompressedSize = 74;
constexpr uint32_t kTextAboutLastWritten = 75;
constexpr uint32_t kTextAboutCreationTime = 76;
constexpr uint32_t kTextAboutLastAccessed = 77;
constexpr uint32_t kTextAboutFileVersion = 78;
constexpr uint32_t kTextAboutFileDescription = 79;
constexpr uint32_t kTextAboutInternalName = 80;
constexpr uint32_t kTextAboutCompanyName = 81;
constexpr uint32_t kTextAboutVersionComments = 82;
constexpr uint32_t kTextAboutLegalCopyright = 83;
constexpr uint32_t kTextAboutLegalTrademarks = 84;
constexpr uint32_t kTextAboutOriginalFileName = 85;
constexpr uint32_t kTextAboutProductName = 86;
constexpr uint32_t kTextAboutProductVersion = 87;
constexpr uint32_t kTextAboutPrivateBuild = 88;
constexpr uint32_t kTextAboutSpecialBuild = 89;
constexpr uint32_t kTextAboutVersionLanguage = 90;
constexpr uint32_t kTextAboutBinaryFileVersion = 91;
constexpr uint32_t kTextAboutBinaryProductVersion = 92;
constexpr uint32_t kTextAboutIsDebug = 93;
constexpr uint32_t kTextAboutIsPatched = 94;
constexpr uint32_t kTextAboutIsPrerelease = 95;
constexpr uint32_t kTextAboutIsPrivateBuild = 96;
constexpr uint32_t kTextAboutIsSpecialBuild = 97;
constexpr uint32_t kTextAboutOwner = 98;
constexpr uint32_t kTextAboutOwnerDomain = 99;
constexpr uint32_t kTextAboutAcl = 100;
constexpr uint32_t kTextAboutIsArchived = 101;
constexpr uint32_t kTextAboutIsHidden = 102;
constexpr uint32_t kTextAboutIsNormal = 103;
constexpr uint32_t kTextAboutIsReadOnly = 104;
constexpr uint32_t kTextAboutIsSystemFile = 105;
constexpr uint32_t kTextAboutIsCompressed = 106;
constexpr uint32_t kTextAboutIsTemporary = 107;
constexpr uint32_t kTextAboutIsOffline = 108;
constexpr uint32_t kTextAboutAttributes = 109;
constexpr uint32_t kTextAboutAttributeString = 138;
constexpr uint32_t kTextAboutAbsoluteLevel = 110;
constexpr uint32_t kTextAboutRelativeLevel = 111;
constexpr uint32_t kTextAboutTitle = 112;
constexpr uint32_t kTextAboutSubject = 113;
constexpr uint32_t kTextAboutAuthor = 114;
constexpr uint32_t kTextAboutKeywords = 115;
constexpr uint32_t kTextAboutSummaryComments = 116;
constexpr uint32_t kTextAboutTemplate = 117;
constexpr uint32_t kTextAboutLastAuthor = 118;
constexpr uint32_t kTextAboutRevisionNumber = 119;
constexpr uint32_t kTextAboutEditTime = 120;
constexpr uint32_t kTextAboutLastPrintDate = 121;
constexpr uint32_t kTextAboutSummaryCreationDate = 122;
constexpr uint32_t kTextAboutLastSavedDate = 123;
constexpr uint32_t kTextAboutPageCount = 124;
constexpr uint32_t kTextAboutWordCount = 125;
constexpr uint32_t kTextAboutCharacterCount = 126;
constexpr uint32_t kTextAboutApplicationName = 127;
constexpr uint32_t kTextAboutSummarySecurity = 128;

// The language tag of the built-in table (1033), in which logon properties
// are also looked up.
constexpr const char16_t* kDefaultLanguage = u"";
