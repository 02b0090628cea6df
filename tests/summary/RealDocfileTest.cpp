// Compound files written through the real StgCreateDocfile and
// IPropertySetStorage (Windows build only). The files kept in data/ were
// written by this test (set FSDATA_WRITE_DOCFILES to a folder to write them
// again); here fresh ones are written and must load exactly as those do, on
// both builds the kept ones are checked against fixed values.
#include <gtest/gtest.h>
#include <objbase.h>
#include <propidl.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fileinfo/FileRecord.h"
#include "tests/summary/SummaryTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace testing_summary;
using testing_support::TempDir;
using testing_support::U8;
namespace fs = std::filesystem;

namespace {

// F29F85E0-4FF9-1068-AB91-08002B27B3D9
const GUID kSummaryFormat = {
    0xF29F85E0, 0x4FF9, 0x1068, {0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9}};

struct Value {
    PROPID id;
    VARTYPE type;
    std::string narrow;
    std::wstring wide;
    uint64_t number;
};

PROPVARIANT Variant(const Value& value) {
    PROPVARIANT variant;
    PropVariantInit(&variant);
    variant.vt = value.type;
    switch (value.type) {
        case VT_LPSTR:
            variant.pszVal = const_cast<char*>(value.narrow.c_str());
            break;
        case VT_LPWSTR:
            variant.pwszVal = const_cast<wchar_t*>(value.wide.c_str());
            break;
        case VT_FILETIME:
            variant.filetime.dwLowDateTime = static_cast<DWORD>(value.number);
            variant.filetime.dwHighDateTime = static_cast<DWORD>(value.number >> 32);
            break;
        case VT_I4:
            variant.lVal = static_cast<LONG>(value.number);
            break;
        default:
            break;
    }
    return variant;
}

bool WriteDocfile(const fs::path& path, DWORD setFlags, const std::vector<Value>& values) {
    IStorage* storage = nullptr;
    if (FAILED(StgCreateDocfile(path.wstring().c_str(),
                                STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage)))
        return false;
    bool ok = false;
    IPropertySetStorage* sets = nullptr;
    if (SUCCEEDED(
            storage->QueryInterface(IID_IPropertySetStorage, reinterpret_cast<void**>(&sets)))) {
        IPropertyStorage* properties = nullptr;
        if (SUCCEEDED(sets->Create(kSummaryFormat, nullptr, setFlags,
                                   STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                   &properties))) {
            std::vector<PROPSPEC> specs(values.size());
            std::vector<PROPVARIANT> variants;
            for (size_t i = 0; i < values.size(); ++i) {
                specs[i].ulKind = PRSPEC_PROPID;
                specs[i].propid = values[i].id;
                variants.push_back(Variant(values[i]));
            }
            ok =
                SUCCEEDED(properties->WriteMultiple(static_cast<ULONG>(values.size()), specs.data(),
                                                    variants.data(), PID_FIRST_USABLE)) &&
                SUCCEEDED(properties->Commit(STGC_DEFAULT));
            properties->Release();
        }
        sets->Release();
    }
    ok = ok && SUCCEEDED(storage->Commit(STGC_DEFAULT));
    storage->Release();
    return ok;
}

const uint64_t kPrinted = 132224078450000000;
const uint64_t kCreated = 132223103990000000;
const uint64_t kSaved = 132682320005000000;

struct Docfile {
    const char* name;
    DWORD flags;
    std::vector<Value> values;
};

std::vector<Docfile> Docfiles() {
    return {
        {"docfile_edit_hour.stg",
         PROPSETFLAG_ANSI,
         {{2, VT_LPSTR, "Quarterly report", L"", 0},
          {3, VT_LPSTR, "Numbers", L"", 0},
          {4, VT_LPSTR, "Ann Writer", L"", 0},
          {6, VT_LPSTR, "Two\r\nlines", L"", 0},
          {8, VT_LPSTR, "Bob Editor", L"", 0},
          {9, VT_LPSTR, "3", L"", 0},
          {10, VT_FILETIME, "", L"", 36000000000ull},
          {13, VT_FILETIME, "", L"", kSaved},
          {14, VT_I4, "", L"", 12},
          {18, VT_LPSTR, "Docfile test", L"", 0}}},
        {"docfile_edit_almost_hour.stg",
         PROPSETFLAG_DEFAULT,
         {{2, VT_LPWSTR, "", L"\u00DCn\u00EFc\u00F6d\u00E9 title", 0},
          {4, VT_LPWSTR, "", L"Zo\u00EB", 0},
          {10, VT_FILETIME, "", L"", 35999999999ull},
          {11, VT_FILETIME, "", L"", kPrinted},
          {12, VT_FILETIME, "", L"", kCreated},
          {15, VT_I4, "", L"", 345},
          {16, VT_I4, "", L"", 2001},
          {18, VT_LPWSTR, "", L"Docfile test", 0},
          {19, VT_I4, "", L"", 4}}},
    };
}

std::string Show(const SummaryGroup& group) {
    std::string text;
    for (const SWCharString& item : group.texts)
        text += U8(item.str()) + "|";
    auto date = [](const DbDateTime& d) {
        return std::to_string(d.date) + "/" + std::to_string(d.time) + "/" +
               std::to_string(d.nanoseconds) + "|";
    };
    text += std::to_string(group.editTime) + "|" + date(group.lastPrinted) + date(group.created) +
            date(group.lastSaved) + std::to_string(group.pageCount) + "|" +
            std::to_string(group.wordCount) + "|" + std::to_string(group.characterCount) + "|" +
            U8(group.applicationName.str()) + "|" + std::to_string(group.security);
    return text;
}

TEST(RealDocfile, FreshFilesLoadAsTheKeptOnes) {
    TempDir dir;
    const char* keep = std::getenv("FSDATA_WRITE_DOCFILES");
    for (const Docfile& docfile : Docfiles()) {
        SCOPED_TRACE(docfile.name);
        const fs::path fresh = dir.path() / docfile.name;
        ASSERT_TRUE(WriteDocfile(fresh, docfile.flags, docfile.values));
        const std::string loaded = Show(LoadSummary(fresh));
        EXPECT_EQ(loaded, Show(LoadSummary(DataFile(docfile.name))));
        EXPECT_NE(loaded, Show(SummaryGroup()));
        // The stream the real API wrote is the one kept.
        EXPECT_EQ(StreamBytes(fresh, kSummaryStreamName),
                  StreamBytes(DataFile(docfile.name), kSummaryStreamName));
        if (keep != nullptr && *keep != 0)
            fs::copy_file(fresh, fs::path(keep) / docfile.name,
                          fs::copy_options::overwrite_existing);
    }
}

}  // namespace
