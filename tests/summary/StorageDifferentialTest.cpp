// The portable compound-file and property-set readers against StgOpenStorage
// and IPropertyStorage, in one process under Wine (Windows build only): every
// summary property of the kept files reads the same through both.
#include <gtest/gtest.h>
#include <objbase.h>
#include <propidl.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "fileinfo/SummaryInfoReader.h"
#include "formats/CompoundFile.h"
#include "formats/PropertySetReader.h"
#include "platform/Multibyte.h"
#include "platform/StructuredStorage.h"
#include "tests/summary/SummaryTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace testing_summary;
using testing_support::ReadWholeFile;
using testing_support::U8;

namespace {

// F29F85E0-4FF9-1068-AB91-08002B27B3D9
const GUID kSummaryFormat = {
    0xF29F85E0, 0x4FF9, 0x1068, {0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9}};

const char* const kFiles[] = {
    "full_ansi.stg",
    "full_unicode_set_lpstr.stg",
    "unicode_lpwstr.stg",
    "title_only.stg",
    "ansi_cp1252_lpstr.stg",
    "docfile_edit_hour.stg",
    "docfile_edit_almost_hour.stg",
};

// In a Unicode (code page 1200) set a VT_LPSTR holds UTF-16. The system
// converts it whole (Wine only its first half); the driver's reader does not
// consult the set's code page and reads the bytes as multibyte text, which
// ends at the first NUL byte. Both agree on the first character.
const char kUnicodeSet[] = "full_unicode_set_lpstr.stg";

// A summary property as text: its type, then its value.
std::string Describe(VARTYPE type, const std::u16string& text) {
    return std::to_string(type) + ":" + U8(text);
}

std::u16string Bytes(const void* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i < size; ++i)
        text += static_cast<char16_t>(static_cast<const uint8_t*>(data)[i]);
    return text;
}

// The property as the system reads it; "absent" when it is not there.
std::string SystemValue(IPropertyStorage& properties, PROPID id, bool unicodeSet) {
    PROPSPEC which;
    which.ulKind = PRSPEC_PROPID;
    which.propid = id;
    PROPVARIANT value;
    PropVariantInit(&value);
    if (properties.ReadMultiple(1, &which, &value) != S_OK)
        return "absent";
    std::string shown;
    switch (value.vt) {
        case VT_LPSTR: {
            const std::u16string text = platform::AnsiToUtf16(value.pszVal);
            shown = Describe(value.vt, unicodeSet ? text.substr(0, 1) : text);
            break;
        }
        case VT_LPWSTR:
            shown = Describe(value.vt, reinterpret_cast<const char16_t*>(value.pwszVal));
            break;
        case VT_I2:
            shown = Describe(value.vt, Bytes(&value.iVal, 2));
            break;
        case VT_I4:
            shown = Describe(value.vt, Bytes(&value.lVal, 4));
            break;
        case VT_FILETIME:
            shown = Describe(value.vt, Bytes(&value.filetime, 8));
            break;
        default:
            shown = "type " + std::to_string(value.vt);
    }
    PropVariantClear(&value);
    return shown;
}

// The same property through our readers.
std::string PortableValue(const PropertySection* section, PROPID id, bool unicodeSet) {
    const PropertyItem* item = FindItem(section, id);
    if (item == nullptr)
        return "absent";
    const VARTYPE type = static_cast<VARTYPE>(item->storedType());
    if (type == VT_LPSTR || type == VT_LPWSTR) {
        const std::u16string text = item->ValueAsText().str();
        if (type == VT_LPSTR && unicodeSet) {
            EXPECT_EQ(text.size(), 1u) << U8(text);
        }
        return Describe(type, text);
    }
    ValueBytes bytes;
    if (!item->ValueData(bytes))
        return "type " + std::to_string(type);
    return Describe(type, Bytes(bytes.data, bytes.size));
}

TEST(StorageDifferential, SummaryPropertiesReadAsTheSystemReadsThem) {
    for (const char* name : kFiles) {
        SCOPED_TRACE(name);
        const std::filesystem::path path = DataFile(name);
        const bool unicodeSet = std::strcmp(name, kUnicodeSet) == 0;

        IStorage* storage = nullptr;
        ASSERT_EQ(S_OK, StgOpenStorage(path.wstring().c_str(), nullptr,
                                       STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &storage));
        IPropertySetStorage* sets = nullptr;
        ASSERT_EQ(S_OK, storage->QueryInterface(IID_IPropertySetStorage,
                                                reinterpret_cast<void**>(&sets)));
        IPropertyStorage* properties = nullptr;
        ASSERT_EQ(S_OK, sets->Open(kSummaryFormat, STGM_READ | STGM_SHARE_EXCLUSIVE, &properties));

        auto file = formats::cfb::CompoundFile::Open(
            std::make_shared<formats::MemorySource>(ReadWholeFile(path)));
        ASSERT_TRUE(file);
        formats::cfb::StreamLayout layout;
        ASSERT_TRUE(file->OpenStream(file->FindChild(0, kSummaryStreamName), layout));
        std::string stream(static_cast<size_t>(layout.size), '\0');
        ASSERT_EQ(stream.size(), file->ReadStream(layout, 0, stream.data(), stream.size()));
        auto memory = platform::OpenMemoryStream(stream);
        PropertySetReader reader;
        ASSERT_TRUE(reader.ReadPropertySet(*memory));
        const PropertySection* section = FindSection(reader, kSummaryInformationFormat);
        ASSERT_NE(section, nullptr);

        for (PROPID id = 1; id <= 19; ++id) {
            EXPECT_EQ(SystemValue(*properties, id, unicodeSet),
                      PortableValue(section, id, unicodeSet))
                << "property " << id;
        }
        properties->Release();
        sets->Release();
        storage->Release();
    }
}

// Every stream of the root reads the same bytes through the system's storage
// and through our compound-file reader.
TEST(StorageDifferential, StreamsHoldTheSameBytes) {
    for (const char* name : kFiles) {
        SCOPED_TRACE(name);
        const std::filesystem::path path = DataFile(name);
        auto file = formats::cfb::CompoundFile::Open(
            std::make_shared<formats::MemorySource>(ReadWholeFile(path)));
        ASSERT_TRUE(file);
        auto storage = platform::OpenStorage(PathText(path));
        ASSERT_TRUE(storage);
        int streams = 0;
        formats::cfb::DirectoryEntry entry;
        for (uint32_t index = 1; index < file->EntryCount(); ++index) {
            formats::cfb::StreamLayout layout;
            if (!file->ReadEntry(index, entry) || !file->OpenStream(index, layout))
                continue;
            SCOPED_TRACE(U8(entry.name));
            std::string ours(static_cast<size_t>(layout.size), '\0');
            ASSERT_EQ(ours.size(), file->ReadStream(layout, 0, ours.data(), ours.size()));
            auto stream = storage->OpenStream(entry.name);
            ASSERT_TRUE(stream);
            EXPECT_EQ(ReadToEnd(*stream, 4096), ours);
            ++streams;
        }
        EXPECT_GE(streams, 1);
    }
}

}  // namespace
