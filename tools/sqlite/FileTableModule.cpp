#include "tools/sqlite/FileTableModule.h"

#include <memory>
#include <new>

#include "host/CellValue.h"
#include "platform/TextEncoding.h"
#include "tools/sqlite/FileTableCursor.h"
#include "tools/sqlite/SqlColumns.h"

namespace sqlhost {
namespace {

struct TableState {
    const ModuleContext* context;
    TableArguments defaults;  // CREATE VIRTUAL TABLE's, or none
};

// SQLite's records come first, so that SQLite's pointers are ours.
struct FileTable {
    sqlite3_vtab base;
    TableState* state;
};

struct Cursor {
    sqlite3_vtab_cursor base;
    FileTableCursor* files;
};

constexpr int kHiddenCount = kColumnCount - kDirColumn;

// No exception crosses into SQLite.
template <typename Body>
int Guarded(Body body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return SQLITE_NOMEM;
    } catch (...) {
        return SQLITE_ERROR;
    }
}

void SetError(sqlite3_vtab* table, const std::string& message) {
    sqlite3_free(table->zErrMsg);
    table->zErrMsg = sqlite3_mprintf("%s", message.c_str());
}

int Connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** table,
            char** error) {
    return Guarded([&] {
        TableArguments defaults;
        std::string message;
        if (!ParseModuleArguments(std::vector<std::string>(argv + 3, argv + argc), defaults,
                                  message)) {
            *error = sqlite3_mprintf("%s", message.c_str());
            return SQLITE_ERROR;
        }
        const int status = sqlite3_declare_vtab(db, CreateTableStatement().c_str());
        if (status != SQLITE_OK)
            return status;
        auto state = std::make_unique<TableState>(
            TableState{static_cast<const ModuleContext*>(aux), defaults});
        // The record is allocated before release() runs: a failed allocation
        // leaves the state to its owner.
        *table = &(new FileTable{{}, state.release()})->base;
        return SQLITE_OK;
    });
}

int Disconnect(sqlite3_vtab* base) {
    auto* table = reinterpret_cast<FileTable*>(base);
    delete table->state;
    delete table;
    return SQLITE_OK;
}

// Equality on a hidden column is an argument: passed to Filter in column
// order, idxNum saying which. A plan in which the directory is unknown when
// the walk starts cannot be run.
int BestIndex(sqlite3_vtab* base, sqlite3_index_info* info) {
    const TableState& state = *reinterpret_cast<FileTable*>(base)->state;
    int constraintOf[kHiddenCount] = {-1, -1, -1, -1};
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& constraint = info->aConstraint[i];
        if (constraint.iColumn < kDirColumn || constraint.op != SQLITE_INDEX_CONSTRAINT_EQ)
            continue;
        if (!constraint.usable)
            return SQLITE_CONSTRAINT;
        int& slot = constraintOf[constraint.iColumn - kDirColumn];
        if (slot < 0)
            slot = i;
    }
    int given = 0, argument = 0;
    for (int slot = 0; slot < kHiddenCount; ++slot) {
        if (constraintOf[slot] < 0)
            continue;
        info->aConstraintUsage[constraintOf[slot]].argvIndex = ++argument;
        info->aConstraintUsage[constraintOf[slot]].omit = 1;
        given |= 1 << slot;
    }
    if ((given & 1) == 0 && !state.defaults.hasDirectory) {
        SetError(base,
                 "fsdata: no starting directory: call fsdata('/dir', ...) or create the table "
                 "with dir=...");
        return SQLITE_ERROR;
    }
    info->idxNum = given;
    info->estimatedCost = 1e6;
    info->estimatedRows = 100000;
    return SQLITE_OK;
}

int Open(sqlite3_vtab* base, sqlite3_vtab_cursor** cursor) {
    return Guarded([&] {
        const ModuleContext& context = *reinterpret_cast<FileTable*>(base)->state->context;
        auto files = std::make_unique<FileTableCursor>(context.api, context.language);
        *cursor = &(new Cursor{{}, files.release()})->base;
        return SQLITE_OK;
    });
}

int Close(sqlite3_vtab_cursor* base) {
    auto* cursor = reinterpret_cast<Cursor*>(base);
    delete cursor->files;
    delete cursor;
    return SQLITE_OK;
}

// The call's arguments over the table's own; NULL leaves an argument as it
// was.
bool ReadArguments(int given, sqlite3_value** values, TableArguments& arguments,
                   std::string& error) {
    for (int slot = 0, next = 0; slot < kHiddenCount; ++slot) {
        if ((given & (1 << slot)) == 0)
            continue;
        sqlite3_value* value = values[next++];
        if (sqlite3_value_type(value) == SQLITE_NULL) {
            if (slot == 0 && !arguments.hasDirectory) {
                error = "fsdata: the starting directory is NULL";
                return false;
            }
            continue;
        }
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        const std::string bytes(text, static_cast<size_t>(sqlite3_value_bytes(value)));
        if (!SetArgument(arguments, kDirColumn + slot, bytes, error))
            return false;
    }
    return true;
}

int Filter(sqlite3_vtab_cursor* base, int given, const char*, int, sqlite3_value** values) {
    return Guarded([&] {
        FileTableCursor& files = *reinterpret_cast<Cursor*>(base)->files;
        TableArguments arguments = reinterpret_cast<FileTable*>(base->pVtab)->state->defaults;
        std::string error;
        if (!ReadArguments(given, values, arguments, error) || !files.Open(arguments, error)) {
            SetError(base->pVtab, error);
            return SQLITE_ERROR;
        }
        return SQLITE_OK;
    });
}

int Next(sqlite3_vtab_cursor* base) {
    return Guarded([&] {
        reinterpret_cast<Cursor*>(base)->files->Next();
        return SQLITE_OK;
    });
}

int Eof(sqlite3_vtab_cursor* base) {
    return reinterpret_cast<Cursor*>(base)->files->atEnd() ? 1 : 0;
}

void ResultText(sqlite3_context* context, const std::string& text) {
    sqlite3_result_text(context, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Texts as their bytes, numbers and flags as integers, date-times as ISO
// text; NULL where the driver says null and for a date-time without a date.
void ResultCell(sqlite3_context* context, const host::CellValue& cell) {
    if (cell.isNull)
        return sqlite3_result_null(context);
    switch (cell.type) {
        case stringValue:
        case memoValue: {
            thread_local std::string utf8;  // keeps its storage from row to row
            utf8.clear();
            platform::AppendUtf16AsUtf8(utf8, cell.text);
            return ResultText(context, utf8);
        }
        case int32uValue:
            return sqlite3_result_int64(context, cell.number);
        case booleanValue:
            return sqlite3_result_int(context, cell.flag ? 1 : 0);
        case dateTimeValue:
            if (cell.dateTime.date == -1)
                return sqlite3_result_null(context);
            return ResultText(context, host::DateTimeText(cell.dateTime));
        default:
            return sqlite3_result_null(context);
    }
}

int Column(sqlite3_vtab_cursor* base, sqlite3_context* context, int column) {
    return Guarded([&] {
        FileTableCursor& files = *reinterpret_cast<Cursor*>(base)->files;
        const TableArguments& arguments = files.arguments();
        switch (column) {
            case kDirColumn:
                ResultText(context, arguments.directory);
                break;
            case kMaskColumn:
                ResultText(context, arguments.mask);
                break;
            case kLevelsColumn:
                sqlite3_result_int(context, arguments.levels);
                break;
            case kEmptyDirsColumn:
                sqlite3_result_int(context, arguments.emptyDirs ? 1 : 0);
                break;
            default:
                ResultCell(context, files.Read(static_cast<uint32_t>(column) + 1));
        }
        return SQLITE_OK;
    });
}

int Rowid(sqlite3_vtab_cursor* base, sqlite3_int64* rowid) {
    *rowid = reinterpret_cast<Cursor*>(base)->files->row();
    return SQLITE_OK;
}

// Connect serves CREATE VIRTUAL TABLE too: with both the same, the module is
// also a table of its own name, which the table-valued calls use.
sqlite3_module MakeModule() {
    sqlite3_module module{};
    module.xCreate = Connect;
    module.xConnect = Connect;
    module.xBestIndex = BestIndex;
    module.xDisconnect = Disconnect;
    module.xDestroy = Disconnect;
    module.xOpen = Open;
    module.xClose = Close;
    module.xFilter = Filter;
    module.xNext = Next;
    module.xEof = Eof;
    module.xColumn = Column;
    module.xRowid = Rowid;
    return module;
}

const sqlite3_module kModule = MakeModule();

}  // namespace

int RegisterFileTableModule(sqlite3* db, ModuleContext context) {
    return Guarded([&] {
        auto* owned = new ModuleContext(std::move(context));
        return sqlite3_create_module_v2(db, "fsdata", &kModule, owned,
                                        [](void* aux) { delete static_cast<ModuleContext*>(aux); });
    });
}

}  // namespace sqlhost
