#pragma once

// ArchiveData and MemManager, the sections and entry pool behind an ArchiveParser.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCString.h"

// One section of an archive tree: its entries in file order and its settings.
class ArchiveParser::ArchiveData {
public:
    // One typed value. A string's bytes carry a zero byte after length bytes.
    struct Buf {
        union {
            int32_t i;
            double d;
        } value;
        uint32_t length;
        union {
            char* bytes;
            ArchiveParser* child;
        };
        char* description;
        uint16_t id;
        uint8_t useCount;
        uint8_t flags;

        int Type() const { return flags & flagType; }
    };
    enum : uint8_t { flagType = 0x0F, flagListed = 0x10, flagValueSet = 0x40 };
    // Subsections nest at most this deep in a file that is read.
    static constexpr int maxDepth = 256;

    ArchiveData(const char* name, double version, MemManager* pool);
    ~ArchiveData();
    ArchiveData(const ArchiveData&) = delete;
    ArchiveData& operator=(const ArchiveData&) = delete;

    static ArchiveData* Of(const ArchiveParser* p) { return p ? p->m_data : nullptr; }
    // A new child section carrying this section's name, version, pool, mode and loading flag.
    ArchiveParser* NewChild(const char* name) const;

    // Lookup by identifier, served at the cursor when values come in their stored order.
    Buf* Find(uint16_t id);
    // Position of the first entry with the identifier, or -1; the cursor stays.
    int IndexOf(uint16_t id) const;
    int Scan(uint16_t id) const;
    // Brings byId up to date; false when there is no memory for it.
    bool IndexById() const;
    void Append(Buf* e);
    void Touch(Buf* e, const char* description);
    // Null when the identifier is used already.
    Buf* Create(uint16_t id, int type, const char* description);
    void RemoveAt(int index);
    void FreeAll();

    // Whole-subtree settings.
    void SetMode(int mode);
    void SetLoading(bool loading);
    void ResetForWriting();
    void Purge();
    // Removes this section's untouched entries when it purges; its subsections stay as they are.
    void PurgeOwn();

    // File forms. The readers return false on bad data; short data throws endOfFile.
    bool ReadBinary(CArchive& ar, int depth);
    // Clears the loading flags and purges the subtree on the way, in the same walk.
    bool WriteBinary(CArchive& ar);
    void WriteListing(CArchive& ar) const;
    bool ReadXML(CArchive& ar);
    bool WriteXML(CArchive& ar) const;

    MemManager* pool;
    int mode = modeBinary;
    int loading = 0;
    int purgeUntouched = 0;
    TCArray<Buf*, Buf*> entries;
    TCString name;
    TCString prefix;
    TCString filePath;
    double moduleVersion;
    double archiveVersion = 0.0;
    int cursor = 0;
    int ownVersion = 0;
    // The identifiers rise strictly through the list, as when a module serializes in
    // order: lookups are then binary searches instead of scans of the whole section.
    bool ascending = true;
    // Otherwise the entries' positions sorted by identifier, built at the first lookup and
    // kept through appends, so that a file stored out of order still loads in n log n.
    mutable std::vector<int> byId;
};

// The entry pool: blocks of entries that double in size, with freed entries reused.
// One pool serves a whole tree; the process-wide one serves every public parser.
class ArchiveParser::MemManager {
public:
    using Buf = ArchiveData::Buf;
    // A block of entries and their in-use marks, which only the pool touches, under its
    // lock: the fields of an entry in use belong to the thread that claimed it.
    struct MemManagerData {
        Buf* entries;
        uint8_t* used;
        int count;
    };

    MemManager() = default;
    ~MemManager();
    MemManager(const MemManager&) = delete;
    MemManager& operator=(const MemManager&) = delete;

    static MemManager* Process();
    // A zeroed entry (listed) of that identifier and type; throws std::bad_alloc.
    Buf* Alloc(uint16_t id, int type);
    // Alloc of the process-wide pool takes its entries from a batch claimed by the calling
    // thread under one lock; Claim and Unclaim move such batches.
    int Claim(Buf** list, int n);
    void Unclaim(Buf* const* list, int n);
    // Releases the entries' descriptions, bytes or child sections and returns them to the
    // pool, under one lock.
    void Free(Buf* const* list, int n);
    void Free(Buf* e) { Free(&e, 1); }

private:
    Buf* Take(uint16_t id, int type);
    void Return(Buf* e);

    std::mutex m_lock;
    std::vector<MemManagerData> m_blocks;
    int m_total = 0;
    size_t m_scanBlock = 0;
    int m_scanIndex = 0;
};

// Formats message with the section's name, writes it to the debugger output and throws
// CArchiveException badSchema.
[[noreturn]] void ArchiveFatal(const ArchiveParser::ArchiveData* data, const char* message);
// The number in text from its first decimal digit on; 0.0 when it has none.
double ArchiveVersionFromText(const char* text);
// An attribute value of the XML reader with its predefined entities and character
// references decoded; anything else after an '&' stays as it is.
std::string DecodeAttributeValue(const char* p, size_t n);
