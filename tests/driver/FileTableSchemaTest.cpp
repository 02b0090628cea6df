// The rows of the file table against what their readers do: a row out of
// place, or a reader that does not fit its row's type, length, null flag or
// group would go unnoticed by the few fields the end-to-end tests read.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>

#include "driver/FieldValue.h"
#include "driver/FileTableSchema.h"
#include "platform/DirectorySearch.h"
#include "runtime/HostMemory.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

// Each reader, on a file row and a directory row: it writes its row's type,
// a text in a block of its own (the buffer is declared to hold nothing),
// else exactly the declared length; it sets the null flag its row promises
// (null-fields.tsv); and it loads its row's group and no other.
TEST(FileTableSchema, EachReaderFitsItsRow) {
    ScopedResources resources;
    TempDir dir;
    dir.Write("five.txt", "12345");
    platform::FindData data{};
    platform::SearchHandle search = platform::FindFirstEntry(dir.folderText() + u"five.txt", &data);
    ASSERT_NE(search, platform::kInvalidSearch);
    platform::FindCloseSearch(search);
    const ReferenceTable nulls = ReferenceTable::LoadCases("driver/null-fields.tsv");
    std::map<uint32_t, const ReferenceTable::Row*> mayBeNull;
    for (const ReferenceTable::Row& row : nulls.rows())
        mayBeNull[std::stoul(nulls.Field(row, "field"))] = &row;
    FileRecord record(u"");
    for (const char* kind : {"file row", "directory row"}) {
        for (const FieldDefinition& row : FileTableSchema) {
            const uint32_t id = Ordinal(row.id);
            const bool text = row.valueType == stringValue || row.valueType == memoValue;
            SCOPED_TRACE(kind + std::string(", field ") + std::to_string(id));
            EXPECT_EQ(FindFieldDefinition(id), &row);
            record.Reset();
            record.Fill(*kind == 'f' ? &data : nullptr, dir.path().u16string(), 0, 0);
            const std::string rule =
                mayBeNull.count(id) ? nulls.Field(*mayBeNull[id], kind) : "value";
            size_t written = 0;  // past the last byte either read changed
            for (uint8_t fill : {0x00, 0xFF}) {
                std::array<uint8_t, 64> buffer;
                buffer.fill(fill);
                void* value = buffer.data();
                uint16_t isNull = 0;  // as the entry point clears it
                uint32_t type = unknownValue;
                EXPECT_EQ(ReadFieldValue(record, id, &value, 0, &isNull, &type), Status_Success);
                EXPECT_EQ(type, row.valueType);
                EXPECT_EQ(isNull, rule == "any" ? isNull : rule == "null" ? 1 : 0);
                EXPECT_EQ(value != buffer.data(), text);
                if (value != buffer.data())
                    FreeHostBlock(value);
                for (size_t i = 0; i < buffer.size(); ++i)
                    if (buffer[i] != fill)
                        written = std::max(written, i + 1);
            }
            EXPECT_EQ(written, text ? 0 : row.length);
            for (RecordGroup group :
                 {RecordGroup::Version, RecordGroup::Security, RecordGroup::Summary})
                EXPECT_EQ(record.IsLoaded(group), group == row.group)
                    << "group " << static_cast<int>(group);
        }
    }
}
