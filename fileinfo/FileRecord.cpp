#include "fileinfo/FileRecord.h"

#include "fileinfo/LocalDateTime.h"
#include "platform/FileInformation.h"
#include "platform/PathSplit.h"
#include "platform/Registry.h"
#include "resources/TextIds.h"
#include "runtime/Diagnostics.h"
#include "runtime/ResourceTexts.h"
#include "runtime/StringFunctions.h"

namespace {

constexpr const char* kSourceUnit = "fileinfo";

// The registry values of File Type are read into 256 bytes.
constexpr size_t kClassTextUnits = 128;
constexpr uint32_t kSaturated = 0xFFFFFFFF;

// The default value of a key under HKEY_CLASSES_ROOT; false when missing.
bool ReadClassText(std::u16string_view key, std::u16string& text) {
    auto opened = platform::RegistryKey::Open(platform::RegistryRoot::ClassesRoot, key);
    return opened && opened->QueryText(u"", text, kClassTextUnits);
}

// The group held for the row, loaded first when there is none. It is held
// before the file is touched, so a failure is not retried for this row.
template <class Group, class Load>
const Group& LoadOnce(std::optional<Group>& held, Load load) {
    if (!held) {
        held.emplace();
        *held = load();
    }
    return *held;
}

}  // namespace

FileRecord::FileRecord(const SWCharString& locale) : locale_(locale) {}

void FileRecord::Reset() {
    directory_ = u"";
    fullPath_ = u"";
    fileType_ = u"";
    findData_ = nullptr;
    absoluteLevel_ = relativeLevel_ = 0;
    ForgetGroups();
}

void FileRecord::Fill(const platform::FindData* findData, const SWCharString& directory,
                      uint32_t absoluteLevel, uint32_t relativeLevel) {
    findData_ = findData;
    directory_ = directory;
    fullPath_ = directory;
    fullPath_ += platform::kPathSeparator;
    if (findData != nullptr)
        fullPath_ += findData->cFileName;
    absoluteLevel_ = absoluteLevel;
    relativeLevel_ = relativeLevel;
    ForgetGroups();
}

const SWCharString& FileRecord::ComputerField() {
    if (computerName_.isEmpty())
        computerName_ = LoadResourceText(kTextLocalComputer, locale_.c_str());
    VL_ASSERT_TEXT(!computerName_.isEmpty(), "!computerName.isEmpty ()");
    return computerName_;
}

SWCharString FileRecord::DirectoryNameField() const {
    SWCharString::iterator separator = directory_.findLast(platform::kPathSeparator);
    return separator ? directory_.right(separator) : directory_;
}

SWCharString FileRecord::ParentDirectoryField() const {
    SWCharString::iterator separator = directory_.findLast(platform::kPathSeparator);
    return separator ? directory_.left(separator) : SWCharString();
}

const char16_t* FileRecord::ExtensionField() const {
    if (findData_ == nullptr)
        return nullptr;
    const char16_t* dot = nullptr;
    for (const char16_t* c = findData_->cFileName; *c != 0; ++c)
        if (*c == u'.')
            dot = c;
    return dot != nullptr ? dot + 1 : nullptr;
}

const SWCharString& FileRecord::FileTypeField() {
    if (!fileType_.isEmpty())
        return fileType_;
    const char16_t* extension = ExtensionField();
    if (extension == nullptr || *extension == 0)
        return fileType_;
    auto known = fileTypes_.find(extension);
    if (known != fileTypes_.end()) {
        fileType_ = SWCharString(known->second);
        return fileType_;
    }
    if (fileTypes_.size() >= kMaxFileTypes)
        fileTypes_.clear();
    fileType_ = FileTypeOf(extension);
    fileTypes_.emplace(extension, fileType_.str());
    return fileType_;
}

SWCharString FileRecord::FileTypeOf(const char16_t* extension) const {
    std::u16string className, description;
    std::u16string key = u".";
    key += extension;
    if (ReadClassText(key, className) && ReadClassText(className, description) &&
        !description.empty())
        return SWCharString(description);
    std::u16string upper = extension;
    MakeUpperCase(upper.data(), upper.size());
    SWCharString text(upper);
    text += LoadResourceText(kTextFileTypeSuffix, locale_.c_str());
    return text;
}

OptionalValue FileRecord::FileSizeField() const {
    if (findData_ == nullptr)
        return {};
    // Sizes of 4 GiB and more saturate; the high word is never combined.
    return {findData_->nFileSizeHigh == 0 ? findData_->nFileSizeLow : kSaturated, false};
}

OptionalValue FileRecord::CompressedSizeField() const {
    if (findData_ == nullptr || fullPath_.isEmpty())
        return {};
    uint32_t high = 0;
    uint32_t low = platform::GetCompressedFileSizeOf(*findData_, fullPath_.view(), &high);
    if (low != kSaturated)
        return {high == 0 ? low : kSaturated, false};
    if (high == 0)
        return {};
    if (platform::LastErrorCode() != 0)
        return {};
    return {kSaturated, false};
}

DbDateTime FileRecord::LastWrittenField() const {
    return LocalDateTimeFromFileTime(findData_ ? &findData_->ftLastWriteTime : nullptr);
}

DbDateTime FileRecord::CreationTimeField() const {
    return LocalDateTimeFromFileTime(findData_ ? &findData_->ftCreationTime : nullptr);
}

DbDateTime FileRecord::LastAccessedField() const {
    return LocalDateTimeFromFileTime(findData_ ? &findData_->ftLastAccessTime : nullptr);
}

SWCharString FileRecord::AttributeStringField() const {
    SWCharString letters;
    if (findData_ == nullptr)
        return letters;
    static const struct {
        uint32_t bit;
        char16_t letter;
    } kLetters[] = {{platform::kAttributeReadOnly, u'R'},
                    {platform::kAttributeHidden, u'H'},
                    {platform::kAttributeSystem, u'S'},
                    {platform::kAttributeArchive, u'A'},
                    {platform::kAttributeCompressed, u'C'}};
    for (const auto& entry : kLetters)
        if (findData_->dwFileAttributes & entry.bit)
            letters += entry.letter;
    return letters;
}

const VersionGroup& FileRecord::Version() {
    if (!version_) {
        LoadOnce(version_, [this] { return LoadVersionGroup(Contents()); });
        CloseContentsWhenDone();
    }
    return *version_;
}

const SecurityGroup& FileRecord::Security() {
    return LoadOnce(security_, [this] {
        // A directory row shows no owner, even where its path has one.
        return findData_ != nullptr ? LoadSecurityGroup(fullPath_.view(), locale_.c_str())
                                    : SecurityGroup();
    });
}

const SummaryGroup& FileRecord::Summary() {
    if (!summary_) {
        LoadOnce(summary_, [this] { return LoadSummaryGroup(Contents()); });
        CloseContentsWhenDone();
    }
    return *summary_;
}

platform::ContentFile& FileRecord::Contents() {
    if (!contents_)
        contents_.emplace(fullPath_.view());
    return *contents_;
}

void FileRecord::CloseContentsWhenDone() {
    if (version_ && summary_)
        contents_.reset();
}

bool FileRecord::IsLoaded(RecordGroup group) const {
    switch (group) {
        case RecordGroup::Version:
            return version_.has_value();
        case RecordGroup::Security:
            return security_.has_value();
        case RecordGroup::Summary:
            return summary_.has_value();
        default:
            return true;
    }
}

void FileRecord::ForgetGroups() {
    version_.reset();
    security_.reset();
    summary_.reset();
    contents_.reset();
}
