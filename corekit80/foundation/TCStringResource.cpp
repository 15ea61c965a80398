// String tables: lookup by id and language, and the tables modules register.
#include "corekit80/foundation/TCStringResource.h"

#include <mutex>
#include <vector>

#include "corekit80/foundation/TCResourceLanguage.h"

namespace {

struct Table {
    HINSTANCE module;
    int count;
    const _TC_StrResource* rows;
};

// The registered tables; never destroyed, so module libraries may unregister at exit.
struct Tables {
    std::mutex mutex;
    std::vector<Table> tables;

    static Tables& Get()
    {
        static Tables* tables = new Tables;
        return *tables;
    }
};

const _TC_StrResource* FindRow(int id, int count, const _TC_StrResource* table)
{
    for (int i = 0; table && i < count; ++i)
        if (table[i].id == id)
            return &table[i];
    return nullptr;
}

}  // namespace

const char* LoadStrRes(int id, int language, int count, const _TC_StrResource* table)
{
    const _TC_StrResource* row = FindRow(id, count, table);
    if (!row)
        return "";
    const char* text = language >= 1 && row->german ? row->german : row->english;
    return text ? text : "";
}

const char* LoadStrRes(int id, int count, const _TC_StrResource* table)
{
    return LoadStrRes(id, TCGetResourceLanguage(), count, table);
}

void TCRegisterStrResources(HINSTANCE module, int count, const _TC_StrResource* table)
{
    if (!table || count <= 0)
        return;
    Tables& registry = Tables::Get();
    std::lock_guard lock(registry.mutex);
    registry.tables.push_back({module, count, table});
}

void TCUnregisterStrResources(HINSTANCE module)
{
    Tables& registry = Tables::Get();
    std::lock_guard lock(registry.mutex);
    std::erase_if(registry.tables, [module](const Table& table) { return table.module == module; });
}

CString LoadStrRes(unsigned int id, HINSTANCE module)
{
    int language = TCGetResourceLanguage();
    Tables& registry = Tables::Get();
    std::lock_guard lock(registry.mutex);
    for (const Table& table : registry.tables) {
        if (table.module != module)
            continue;
        if (FindRow(static_cast<int>(id), table.count, table.rows))
            return CString(LoadStrRes(static_cast<int>(id), language, table.count, table.rows));
    }
    return CString();
}
