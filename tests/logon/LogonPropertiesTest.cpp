// Property collections and the logon values read from them (collections.tsv,
// parameters.tsv), and allocation failures at every step, in-process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <regex>
#include <sstream>

#include "logon/LogonDescription.h"
#include "logon/LogonInfo.h"
#include "logon/LogonParameters.h"
#include "logon/PropertyCollection.h"
#include "logon/PropertyHints.h"
#include "logon/PropertyRequests.h"
#include "tests/logon/CollectionText.h"
#include "tests/logon/EngineCollection.h"
#include "tests/support/CountingAllocator.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/ScopedResources.h"

using namespace testing_support;

namespace {

// Adds a tree written as in collections.tsv: "~" a null text or no value
// record, an empty name left out, hints indented by two spaces.
void AddTree(EngineCollection& root, const std::string& tree) {
    static const std::regex form(R"((.*?)(?: / (.*?))? = (~|(\w+):(.*?))(?: \(options (\d+)\))?)");
    std::vector<EngineCollection*> levels{&root};
    std::vector<DbProperty*> last;
    std::istringstream lines(tree);
    for (std::string line; std::getline(lines, line);) {
        const size_t depth = line.find_first_not_of(' ') / 2;
        levels.resize(std::min(levels.size(), depth + 1));
        if (levels.size() == depth)
            levels.push_back(&levels.back()->Hints(*last[depth - 1]));
        last.resize(depth + 1);
        EngineCollection& to = *levels[depth];
        line.erase(0, depth * 2);
        std::smatch m;
        if (line == "(null)" || line == "(no items)") {
            line == "(null)" ? to.AddNull() : void(to.get()->items = nullptr);
            continue;
        }
        ASSERT_TRUE(std::regex_match(line, m, form)) << line;
        const std::u16string name = U16(m[1]), display = U16(m[2].matched ? m[2].str() : "~");
        auto text = [](const std::u16string& t) { return t == u"~" ? nullptr : t.c_str(); };
        const char16_t *n = text(name), *d = text(display);
        const std::string type = m[4], payload = m[5];
        const int64_t number = type == "int32s" || type == "int64s" ? std::stoll(payload) : 0;
        DbProperty& property =
            m[3] == "~"         ? to.AddBare(n, d)
            : type == "string"  ? to.AddString(n, d, U16(payload).c_str())
            : type == "boolean" ? to.AddBoolean(n, d, payload == "true")
            : type == "int32s"  ? to.AddInt32(n, d, static_cast<int32_t>(number))
            : type == "int64s"
                ? to.AddPayload(n, d, int64sValue, &number, sizeof number)
                : to.AddValue(n, d, stringValue, to.Value(emptyKind, stringValue, nullptr));
        property.options = static_cast<uint32_t>(m[6].matched ? std::stoi(m[6]) : 0);
        last[depth] = &property;
    }
}

TEST(PropertyCollections, Table) {
    const ReferenceTable table = ReferenceTable::LoadCases("logon/collections.tsv");
    std::unique_ptr<EngineCollection> engine;
    auto Key = [](const std::u16string& text) { return text == u"~" ? nullptr : text.c_str(); };
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        if (!table.Field(row, "tree").empty())
            AddTree(*(engine = std::make_unique<EngineCollection>()), table.Field(row, "tree"));
        const std::string call = table.Field(row, "call");
        const std::u16string key = U16(table.Field(row, "key")),
                             second = U16(table.Field(row, "second"));
        int32_t index = -7;
        std::string result;
        if (call == "index") {
            index = FindPropertyIndex(engine->get(), Key(key));
            result = index < 0 ? "none" : ValueText(engine->get()->items[index]->value);
        } else if (call == "find" || call == "deep" || call == "top") {
            const DbProperty* found =
                call == "find" ? FindProperty(engine->get(), Key(key), Key(second))
                               : FindPropertyDeep(engine->get(), Key(key), call == "top", &index);
            result = found ? ValueText(found->value) : "none";
        } else {
            // "copy", or "merge" into a copy of the properties of the key column.
            EngineCollection before;
            AddTree(before, table.Field(row, "key"));
            CollectionPtr target(CopyCollection(call == "copy" ? engine->get() : before.get()));
            if (call == "merge")
                MergeTabProperties(engine->get(), target.get(), kHintTabProperties);
            result = CollectionText(target.get());
        }
        EXPECT_EQ(result, table.Field(row, "result"));
        EXPECT_EQ(index == -7 ? "" : std::to_string(index), table.Field(row, "index"));
    }
}

TEST(LogonParameters, Table) {
    ScopedResources resources;
    auto Read = [](const std::string& tree, const std::string& language) {
        EngineCollection engine;
        AddTree(engine, tree);
        LogonParameters parameters;
        parameters.startingDirectory = u"stale";
        EXPECT_EQ(ReadLogonParameters(engine.get(), U16(language).c_str(), parameters),
                  Status_Success);
        return parameters;
    };
    const ReferenceTable table = ReferenceTable::LoadCases("logon/parameters.tsv");
    for (const auto& row : table.rows()) {
        SCOPED_TRACE(row.name);
        const LogonParameters read = Read(table.Field(row, "tree"), table.Field(row, "language"));
        const std::string other = table.Field(row, "other");
        EXPECT_EQ(!other.empty()
                      ? LogonParametersMatch(read, Read(other, "")) ? "match" : "differ"
                      : U8(read.startingDirectory.str()) + "|" + U8(read.fileMask.str()) + "|" +
                            std::to_string(read.maxSubDirLevels) + "|" +
                            (read.includeEmptyDirectories ? "true" : "false"),
                  table.Field(row, "read"));
    }
}

// Whichever allocation fails, nothing that was allocated stays behind.
TEST(LogonAllocation, FailuresAtEveryStepLeaveNothingBehind) {
    ScopedResources resources;
    EngineCollection engine;
    AddTree(engine, "(null)\nFile Mask / Mask = string:*.doc");
    const auto operation = [&] {
        CollectionPtr description(NewCollection()), files, levels;
        BuildLogonDescription(description.get(), u"de", u"/data", u"*.txt", 3, true, true);
        BuildLogonDescription(description.get(), u"", u"", u"", -1, false, false);
        CollectionPtr copy(CopyCollection(description.get()));
        MergeTabProperties(copy.get(), description.get(), kHintTabProperties);
        AddAllProperties(description.get(), engine.get());
        DbPropertyCollection* answer = nullptr;
        ASSERT_EQ(HandleFileMaskRequest(copy.get(), &answer), Status_Success);
        files.reset(answer);
        ASSERT_EQ(HandleLevelRequest(copy.get(), &answer), Status_Success);
        levels.reset(answer);
        LogonInfoPtr logon(NewLogonInfo());
        BuildLogonDescription(logon->properties, u"", u"/d", u"*", 0, false, false);
        ErrorInfo* error = NewLogonErrorInfo(u"de");
        ::operator delete(error->message);
        ::operator delete(error);
    };
    operation();  // once whole, so that lazily loaded texts are in place
    EXPECT_GT(SweepAllocationFailures(operation, [] {}), 10) << "the operation allocates";
}

}  // namespace
