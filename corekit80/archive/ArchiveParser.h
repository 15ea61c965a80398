#pragma once

// ArchiveParser, module settings saved and restored as a tree of typed values.

#include "corekit80/platform/CArchive.h"
#include "corekit80/platform/CDumpContext.h"
#include "corekit80/platform/CWnd.h"
#include "corekit80/platform/TCColorButton.h"
#include "corekit80/platform/TC_Metric.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCGeometry.h"
#include "corekit80/types/TCString.h"
#include "corekit80/types/TCWinTypes.h"

// Saves and restores module settings as a tree of typed values, each addressed by a
// numeric identifier within its section. The same Serialize calls store values while
// the archive is written and fetch them while it is read; BeginSerialize reads the tree
// from a file, EndSerialize writes it. Files are binary (starting with "APVersion"),
// XML, or a text listing that can only be written.
//
// Fatal errors write their message to the debugger output and throw CArchiveException
// with cause badSchema; a value missing when reading gives false and leaves the
// caller's variable unchanged. All trees made with the public constructor share one
// process-wide entry pool.
class TC_EXPORT ArchiveParser {
public:
    class MemManager;
    class ArchiveData;
    class XMLContent;

    // Value type codes of entries.
    enum { typeInteger = 1, typeDouble = 2, typeString = 3, typeBinary = 4, typeSubSection = 5 };
    // Storage modes.
    enum { modeBinary = 0, modeText = 1, modeXML = 2 };

    ArchiveParser();
    ~ArchiveParser();
    // A tree has exactly one owner, so parsers are not copied.
    ArchiveParser(const ArchiveParser&) = delete;
    ArchiveParser& operator=(const ArchiveParser&) = delete;

    // Reading: fills the tree from ar's file; false (file position unchanged) when the
    // file has neither archive signature. Writing: resets the use counts.
    bool BeginSerialize(CArchive& ar);
    // Writing: writes header and tree to ar. Reading: nothing.
    void EndSerialize(CArchive& ar);

    bool IsLoading() const;
    bool IsStoring() const;
    // Sets the storage mode of this section and every subsection below it.
    void SaveAscii(int mode);
    int SaveAscii() const;

    void SetHeaderInfo(const char* name, const char* version, const char* prefix);
    double GetArchiveVersion() const;
    double GetModuleVersion() const;
    // 1 when the archive is newer than the module, -1 when older, 0 when equal.
    int CheckNewerArchive(double& archiveVersion, double& moduleVersion) const;
    const char* GetFilePath() const;

    // The child section with that identifier, created when absent (also when reading,
    // so that an absent section reads as empty). It stays owned by this section.
    ArchiveParser* SubSection(unsigned short id, const char* description, bool purgeUnused);

    bool Serialize(unsigned short id, const char* description, int& value);
    bool Serialize(unsigned short id, const char* description, double& value);
    bool Serialize(unsigned short id, const char* description, CString& value);
    bool Serialize(unsigned short id, const char* description, TCString& value);
    // Binary bytes; reading copies at most length bytes and sets length to the count.
    bool Serialize(unsigned short id, const char* description, int& length, void* data,
                   bool listed);
    bool Serialize(unsigned short id, const char* description, unsigned long& length,
                   void* data, bool listed);

    // Narrow and unsigned integers, booleans and floats go through the integer and
    // double values: widened on the way in, cut back to their own width on the way out.
    // Unsigned and long values are stored as 32-bit integers.
    bool Serialize(unsigned short id, const char* description, bool& value);
    bool Serialize(unsigned short id, const char* description, char& value);
    bool Serialize(unsigned short id, const char* description, unsigned char& value);
    bool Serialize(unsigned short id, const char* description, short& value);
    bool Serialize(unsigned short id, const char* description, unsigned short& value);
    bool Serialize(unsigned short id, const char* description, unsigned int& value);
    bool Serialize(unsigned short id, const char* description, long& value);
    bool Serialize(unsigned short id, const char* description, unsigned long& value);
    bool Serialize(unsigned short id, const char* description, float& value);
    // A font in its own section. The height is kept as height / scale, so that a font
    // read with another scale comes back scaled; older sections with only an integer
    // height and width are still read.
    bool Serialize(unsigned short id, const char* description, LOGFONTA& font, double scale);
    // A font at its exact height (stored as height / -1).
    bool Serialize(unsigned short id, const char* description, LOGFONTA& font,
                   const TC_Metric& metric);

    // Records in their own section, field by field; true when every field succeeded.
    bool Serialize(unsigned short id, const char* description, WINDOWPLACEMENT& placement);
    bool Serialize(unsigned short id, const char* description, CPoint& point);
    bool Serialize(unsigned short id, const char* description, CSize& size);
    bool Serialize(unsigned short id, const char* description, CRect& rect);
    // A window's placement (window must not be null). A restored window is moved in place
    // and left hidden; the caller shows it. False when the window's placement cannot be
    // fetched or applied.
    bool Serialize(unsigned short id, const char* description, CWnd* window);
    // As above, and showCmd receives the window's show command (stored when writing, read
    // when reading). With hidden the show command is stored as hidden and a restored
    // window stays hidden; without it a window stored hidden is shown.
    bool Serialize(unsigned short id, const char* description, CWnd* window, bool hidden,
                   unsigned int& showCmd);
    // A colour button: without customColors just its colour as an integer at id; with
    // them a section holding the colour and the 16 custom colours. Reading also sets the
    // control colour.
    bool Serialize(unsigned short id, const char* description, TCColorButton& button,
                   bool customColors);

    // Removes the entry with that identifier and everything below it.
    void DeleteEntry(unsigned short id);
    // Type code of the entry at list position index; 0 when out of range.
    unsigned short GetVarType(unsigned short index) const;
    // The tree is shown by its listing, not by a dump: this writes nothing.
    void Dump(CDumpContext& dc);

private:
    ArchiveParser(const char* name, double version, MemManager* pool);
    friend class ArchiveData;
    friend class XMLContent;

    ArchiveData* m_data;
};

// Whether ar's file name ends in "TCX" (any case).
TC_EXPORT bool IsXMLArchive(const CArchive& ar);
// Whether p is in XML storage mode.
TC_EXPORT bool IsXMLArchive(const ArchiveParser* const p);
