// GraphFile: the graph file read into its parts and written back.
#include "GraphFile.h"

#include <cstring>
#include <fstream>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/platform/CArchive.h"
#include "corekit80/platform/CFile.h"
#include "corekit80/platform/CMemFile.h"
#include "corekit80/platform/TCDebugOutput.h"

namespace {
const int GRAPH_FORMAT = 1;

// While it lives, the archive's own diagnostics (its fatal messages) are kept for the one
// line the host prints instead of going to standard error.
class DiagnosticCapture {
public:
    DiagnosticCapture() : m_previous(TCSetDebugOutputSink(&Sink)) { Text().clear(); }
    ~DiagnosticCapture() { TCSetDebugOutputSink(m_previous); }
    static std::string& Text()
    {
        static std::string text;
        return text;
    }

private:
    static void Sink(const char* text)
    {
        if (text)
            Text() += text;
    }
    TCDebugOutputSink m_previous;
};

// The line of the diagnostics that says most: the XML parser's complaint, else the first.
std::string Telling(const std::string& text)
{
    size_t at = text.find("parser error");
    at = at == std::string::npos ? 0 : text.rfind('\n', at) + 1;
    std::string line = text.substr(at, text.find('\n', at) - at);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

// UTF-8 into the archive's XML form: UTF-16LE after a byte-order mark. False for bytes that
// are not UTF-8.
bool Utf8ToArchiveXml(const std::string& in, size_t from, std::string& out)
{
    out.assign("\xFF\xFE", 2);
    auto put = [&](unsigned u) {
        out.push_back(char(u & 0xFF));
        out.push_back(char(u >> 8));
    };
    for (size_t i = from; i < in.size();) {
        const unsigned char c = static_cast<unsigned char>(in[i]);
        const int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || in.size() - i <= size_t(extra))
            return false;
        unsigned code = extra == 0 ? c : c & (0x3Fu >> extra);
        for (int k = 1; k <= extra; ++k) {
            const unsigned char t = static_cast<unsigned char>(in[i + size_t(k)]);
            if ((t >> 6) != 2)
                return false;
            code = (code << 6) | (t & 0x3F);
        }
        static const unsigned least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        if (code >= 0x10000) {
            put(0xD800 + ((code - 0x10000) >> 10));
            put(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            put(code);
        }
        i += size_t(extra) + 1;
    }
    return true;
}

// The file's bytes as the archive reads them; an empty text, or the fault in why. utf8 tells
// whether they were converted from UTF-8 XML.
std::string ArchiveBytes(const std::string& path, std::string& why, bool& utf8)
{
    utf8 = false;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = Format("cannot read graph file %s: %s", path.c_str(), std::strerror(errno));
        return {};
    }
    std::string bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, size_t(in.gcount()));
        if (bytes.size() > GraphFile::MAX_FILE_BYTES) {
            why = Format("graph file %s is larger than %zu bytes", path.c_str(), GraphFile::MAX_FILE_BYTES);
            return {};
        }
    }
    if (bytes.compare(0, 4, "\xFF\xFE<\0", 4) == 0 || bytes.compare(0, 9, "APVersion") == 0)
        return bytes;
    size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < bytes.size() && std::strchr(" \t\r\n", bytes[start]))
        ++start;
    std::string utf16;
    if (start < bytes.size() && bytes[start] == '<') {
        if (Utf8ToArchiveXml(bytes, start, utf16)) {
            utf8 = true;
            return utf16;
        }
        why = Format("graph file %s: XML that is not UTF-8", path.c_str());
        return {};
    }
    why = Format("%s is not a graph file (neither an XML nor a binary archive)", path.c_str());
    return {};
}

// The archive's XML (UTF-16LE after a byte-order mark, CR LF line ends) as UTF-8 with LF line
// ends, its declaration naming the new encoding.
std::string ArchiveXmlToUtf8(const unsigned char* data, size_t size)
{
    TCString text;
    const size_t units = size >= 2 ? size / 2 - 1 : 0;
    std::u16string wide(units, u'\0');
    std::memcpy(wide.data(), data + 2, units * 2);
    text.ToMultibyte(wide.data(), int(units), 0);
    std::string out;
    out.reserve(size_t(text.GetLength()));
    for (const char* p = text; *p; ++p)
        if (*p != '\r')
            out += *p;
    static const std::string from = "encoding=\"UTF-16\"";
    const size_t at = out.find(from);
    if (at != std::string::npos && at < out.find('>'))
        out.replace(at, from.size(), "encoding=\"UTF-8\"");
    return out;
}

int Count(ArchiveParser& root, unsigned short id, const char* description, const char* what, Problems& problems)
{
    int n = 0;
    root.Serialize(id, description, n);
    if (n < 0 || n > GraphFile::MAX_ITEMS) {
        problems.Add(HS_GRAPH_FILE, Format("graph file: %d %s (0 to %d allowed)", n, what, GraphFile::MAX_ITEMS));
        return 0;
    }
    return n;
}

// A text entry. No name holds a zero byte: one that does would be cut there wherever it is
// used (opened, shown or saved), so it is a problem.
std::string Text(ArchiveParser& section, unsigned short id, const char* description, Problems& problems)
{
    TCString value;
    section.Serialize(id, description, value);
    std::string text(static_cast<const char*>(value), size_t(value.GetLength()));
    if (text.find('\0') != std::string::npos)
        problems.Add(HS_GRAPH_FILE, Format("graph file: %s '%s' holds a zero byte", description, text.c_str()));
    return text;
}

// Entry i of a list section, "Module %d" and the like.
ArchiveParser* Item(ArchiveParser& list, int i, const char* format)
{
    char description[32];
    std::snprintf(description, sizeof description, format, i);
    return list.SubSection(static_cast<unsigned short>(i), description, true);
}
}

GraphFile::GraphFile() = default;
GraphFile::~GraphFile() = default;

bool GraphFile::Load(const std::string& file, Problems& problems)
try {
    path = file;
    libraries.clear();
    modules.clear();
    lines.clear();
    std::string why;
    std::string bytes = ArchiveBytes(file, why, utf8);
    if (bytes.empty()) {
        problems.Add(HS_GRAPH_FILE, why);
        return false;
    }
    m_tree = std::make_unique<ArchiveParser>();
    DiagnosticCapture capture;
    {
        CMemFile memory(reinterpret_cast<unsigned char*>(bytes.data()), unsigned(bytes.size()));
        CArchive ar(&memory, CArchive::load);
        if (!m_tree->BeginSerialize(ar)) {
            problems.Add(HS_GRAPH_FILE, Format("%s is not a graph file (neither an XML nor a binary archive)",
                                               file.c_str()));
            return false;
        }
        m_tree->EndSerialize(ar);
    }
    const size_t before = problems.Count();
    ArchiveParser& root = *m_tree;
    int format = 0;
    if (!root.Serialize(1, "Graph format", format) || format != GRAPH_FORMAT) {
        problems.Add(HS_GRAPH_FILE, Format("%s is no signal graph of format %d (graph format: %d)", file.c_str(),
                                           GRAPH_FORMAT, format));
        return false;
    }
    const int nLibraries = Count(root, 2, "No. of libraries", "module libraries", problems);
    ArchiveParser& libraryList = *root.SubSection(3, "Module libraries", true);
    for (int i = 0; i < nLibraries; ++i) {
        libraries.push_back(Text(*Item(libraryList, i, "Library %d"), 1, "File", problems));
        if (libraries.back().empty())
            problems.Add(HS_GRAPH_FILE, Format("graph file: module library %d has no file name", i));
    }
    const int nModules = Count(root, 4, "No. of modules", "modules", problems);
    ArchiveParser& moduleList = *root.SubSection(5, "Modules", true);
    for (int i = 0; i < nModules; ++i) {
        ArchiveParser& s = *Item(moduleList, i, "Module %d");
        Module m;
        m.library = -1;
        s.Serialize(1, "Library", m.library);
        m.type = Text(s, 2, "Type name", problems);
        s.Serialize(3, "Instance", m.instance);
        m.symbol = Text(s, 4, "Symbol name", problems);
        m.settings = s.SubSection(5, "Settings", false);
        const std::string name = m.symbol.empty() ? Format("module %d", i) : "module " + m.symbol;
        if (m.symbol.empty())
            problems.Add(HS_GRAPH_FILE, Format("graph file: module %d has no symbol name", i));
        else if (Find(m.symbol) >= 0)
            problems.Add(HS_GRAPH_FILE, Format("graph file: %s: the symbol name is used by two modules", name.c_str()));
        if (m.type.empty())
            problems.Add(HS_GRAPH_FILE, Format("graph file: %s has no type name", name.c_str()));
        if (m.library < 0 || m.library >= nLibraries)
            problems.Add(HS_GRAPH_FILE,
                         Format("graph file: %s names module library %d, which does not exist", name.c_str(), m.library));
        modules.push_back(std::move(m));
    }
    const int nLines = Count(root, 6, "No. of lines", "lines", problems);
    ArchiveParser& lineList = *root.SubSection(7, "Lines", true);
    for (int i = 0; i < nLines; ++i) {
        ArchiveParser& s = *Item(lineList, i, "Line %d");
        Line l{Text(s, 1, "Source module", problems), Text(s, 2, "Source port", problems),
               Text(s, 3, "Target module", problems), Text(s, 4, "Target port", problems)};
        const std::string name = Format("line %s.%s -> %s.%s", l.source.c_str(), l.sourcePort.c_str(),
                                        l.target.c_str(), l.targetPort.c_str());
        for (const std::string* end : {&l.source, &l.target})
            if (Find(*end) < 0)
                problems.Add(HS_GRAPH_FILE,
                             Format("graph file: %s: module '%s' does not exist", name.c_str(), end->c_str()));
        lines.push_back(std::move(l));
    }
    return problems.Count() == before;
} catch (const std::bad_alloc&) {
    // Out of memory nothing of the graph is kept either, and the problem is told without
    // asking for more.
    libraries.clear();
    modules.clear();
    lines.clear();
    m_tree.reset();
    problems.AddOutOfMemory(HS_GRAPH_FILE);
    return false;
} catch (const std::exception& e) {
    // A tree cut short, or an entry of the wrong kind in it (a number where a section
    // belongs) while the parts are taken out; nothing of the graph is kept.
    libraries.clear();
    modules.clear();
    lines.clear();
    const std::string detail = DiagnosticCapture::Text().empty() ? e.what() : Telling(DiagnosticCapture::Text());
    problems.Add(HS_GRAPH_FILE, Format("graph file %s is truncated or damaged: %s", file.c_str(), detail.c_str()));
    return false;
}

bool GraphFile::Save(const std::string& file, bool xml, const SettingsWriter& settings, Problems& problems) const
{
    try {
        ArchiveParser root;
        root.SaveAscii(xml ? ArchiveParser::modeXML : ArchiveParser::modeBinary);
        CFile out;
        CMemFile memory;
        CFileException error;
        if (!out.Open(file.c_str(), CFile::modeCreate | CFile::modeWrite, &error)) {
            problems.Add(HS_OUTPUT, Format("cannot write graph file %s: %s", file.c_str(), error.what()));
            return false;
        }
        const bool toUtf8 = xml && utf8;
        CArchive ar(toUtf8 ? static_cast<CFile*>(&memory) : &out, CArchive::store);
        DiagnosticCapture capture;
        root.BeginSerialize(ar);
        int format = GRAPH_FORMAT;
        root.Serialize(1, "Graph format", format);
        int n = int(libraries.size());
        root.Serialize(2, "No. of libraries", n);
        ArchiveParser& libraryList = *root.SubSection(3, "Module libraries", true);
        for (int i = 0; i < n; ++i) {
            TCString name(libraries[size_t(i)].c_str());
            Item(libraryList, i, "Library %d")->Serialize(1, "File", name);
        }
        n = int(modules.size());
        root.Serialize(4, "No. of modules", n);
        ArchiveParser& moduleList = *root.SubSection(5, "Modules", true);
        for (int i = 0; i < n; ++i) {
            Module m = modules[size_t(i)];
            ArchiveParser& s = *Item(moduleList, i, "Module %d");
            TCString type(m.type.c_str()), symbol(m.symbol.c_str());
            s.Serialize(1, "Library", m.library);
            s.Serialize(2, "Type name", type);
            s.Serialize(3, "Instance", m.instance);
            s.Serialize(4, "Symbol name", symbol);
            ArchiveParser& section = *s.SubSection(5, "Settings", false);
            if (settings)
                settings(size_t(i), section);
        }
        n = int(lines.size());
        root.Serialize(6, "No. of lines", n);
        ArchiveParser& lineList = *root.SubSection(7, "Lines", true);
        for (int i = 0; i < n; ++i) {
            const Line& l = lines[size_t(i)];
            ArchiveParser& s = *Item(lineList, i, "Line %d");
            TCString texts[] = {l.source.c_str(), l.sourcePort.c_str(), l.target.c_str(), l.targetPort.c_str()};
            const char* descriptions[] = {"Source module", "Source port", "Target module", "Target port"};
            for (unsigned short k = 0; k < 4; ++k)
                s.Serialize(k + 1, descriptions[k], texts[k]);
        }
        root.EndSerialize(ar);
        ar.Close();
        if (toUtf8) {
            const std::string text = ArchiveXmlToUtf8(memory.GetData(), size_t(memory.GetLength()));
            out.Write(text.data(), unsigned(text.size()));
        }
        out.Close();
        return true;
    } catch (const std::exception& e) {
        problems.Add(HS_OUTPUT, Format("cannot write graph file %s: %s", file.c_str(), e.what()));
        return false;
    }
}

int GraphFile::Find(const std::string& symbol) const
{
    for (size_t i = 0; i < modules.size(); ++i)
        if (modules[i].symbol == symbol)
            return int(i);
    return -1;
}

std::string GraphFile::Folder() const
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string GraphFile::Name() const
{
    const size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}
