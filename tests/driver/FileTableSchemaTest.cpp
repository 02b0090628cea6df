// The rows of the file table against each other and against what their
// readers do: a row out of place, a text id that names nothing, or a reader
// that does not fit its row's type, length or group would go unnoticed by
// the few fields the end-to-end tests read.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "driver/FieldValue.h"
#include "driver/FileTableSchema.h"
#include "platform/Collation.h"
#include "platform/DirectorySearch.h"
#include "runtime/HostMemory.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

constexpr RecordGroup kLoadedGroups[] = {RecordGroup::Version, RecordGroup::Security,
                                         RecordGroup::Summary};

bool IsText(DbValueType type) {
    return type == stringValue || type == memoValue;
}

TEST(FileTableSchema, EachRowSitsAtItsOrdinal) {
    for (uint32_t index = 0; index < kFileTableFieldCount; ++index) {
        const FieldDefinition& row = FileTableSchema[index];
        EXPECT_EQ(Ordinal(row.id), index + 1) << "row " << index;
        EXPECT_EQ(FindFieldDefinition(index + 1), &row) << "row " << index;
    }
}

// Binding by name takes the first field whose name matches, case ignored:
// every name must be there, and no two alike, in every language.
TEST(FileTableSchema, NamesAndDescriptionsAreTextsOfTheirOwn) {
    ScopedResources resources;
    for (const char16_t* language : {u"", u"de"}) {
        SCOPED_TRACE(U8(language));
        std::array<SWCharString, kFileTableFieldCount> names;
        for (uint32_t index = 0; index < kFileTableFieldCount; ++index) {
            const FieldDefinition& row = FileTableSchema[index];
            names[index] = LoadResourceText(row.nameId, language);
            EXPECT_FALSE(names[index].isEmpty()) << "field " << Ordinal(row.id);
            EXPECT_FALSE(LoadResourceText(row.descriptionId, language).isEmpty())
                << "field " << Ordinal(row.id);
            for (uint32_t earlier = 0; earlier < index; ++earlier)
                EXPECT_NE(platform::CollateTextNoCase(names[earlier].c_str(), names[index].c_str()),
                          0)
                    << U8(names[index].str());
        }
    }
}

class FileTableReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.Write("five.txt", "12345");
        platform::SearchHandle search =
            platform::FindFirstEntry(dir_.folderText() + u"five.txt", &data_);
        ASSERT_NE(search, platform::kInvalidSearch);
        platform::FindCloseSearch(search);
    }

    // Reads the field into a buffer first filled with `fill`, declared to
    // hold nothing: a text must then come in a block of its own, a value of
    // fixed size is written into the buffer whatever its declared size.
    std::array<uint8_t, 64> Read(const FieldDefinition& row, uint8_t fill) {
        std::array<uint8_t, 64> buffer;
        buffer.fill(fill);
        void* value = buffer.data();
        uint16_t isNull = 0;
        uint32_t type = unknownValue;
        EXPECT_EQ(ReadFieldValue(record_, Ordinal(row.id), &value, 0, &isNull, &type),
                  Status_Success);
        EXPECT_EQ(type, row.valueType);
        if (IsText(row.valueType)) {
            EXPECT_NE(value, buffer.data()) << "a text by the text protocol";
            if (value != buffer.data())
                FreeHostBlock(value);
        } else {
            EXPECT_EQ(value, buffer.data());
        }
        return buffer;
    }

    ScopedResources resources_;
    TempDir dir_;
    platform::FindData data_{};
    FileRecord record_{u""};
};

// A reader writes its row's type: a text, or exactly the declared length;
// and it loads its row's group and no other.
TEST_F(FileTableReaderTest, EachReaderFitsItsRow) {
    for (const FieldDefinition& row : FileTableSchema) {
        SCOPED_TRACE("field " + std::to_string(Ordinal(row.id)));
        record_.Reset();
        record_.Fill(&data_, dir_.path().u16string(), 0, 0);
        const std::array<uint8_t, 64> zeros = Read(row, 0x00);
        const std::array<uint8_t, 64> ones = Read(row, 0xFF);
        // A byte is written when it differs from the fill in either read.
        size_t written = 0;
        for (size_t i = 0; i < zeros.size(); ++i)
            if (zeros[i] != 0x00 || ones[i] != 0xFF)
                written = i + 1;
        EXPECT_EQ(written, IsText(row.valueType) ? 0 : row.length);
        for (RecordGroup group : kLoadedGroups)
            EXPECT_EQ(record_.IsLoaded(group), group == row.group)
                << "group " << static_cast<int>(group);
    }
}

}  // namespace
