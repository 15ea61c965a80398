#pragma once

// TCFilePath, a file or folder path kept with its default folder and placeholders.

#include "corekit80/platform/TCPathUI.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"
#include "corekit80/types/TCWinTypes.h"

// A file or folder path kept together with its default folder. The stored path is relative
// to the default folder when it lies inside it ('.\\data\\x.txt'), else absolute; it may
// hold placeholders: '%CSIDL_APPDATA%' (optionally '%CSIDL_APPDATA|CSIDL_FLAG_CREATE%',
// which creates the folder) for a special folder, '%NAME%' for an environment variable.
// The absolute path is built on demand with the placeholders resolved. Paths use '\\'
// between components; TCNativePath gives the form the system wants.
class TC_EXPORT TCFilePath {
public:
    TCFilePath();
    TCFilePath(const char* path);

    // Replaces placeholders in place, special folders first, then environment variables;
    // values put in are not searched again. Unknown special folders and unset variables
    // become "". Returns the number of placeholders that got a value.
    static int Resolve(TCString& path, bool shellFolders = true, bool environment = true);
    static int Resolve(CString& path, bool shellFolders = true, bool environment = true);
    static bool IsAbsolute(const char* path);
    static bool IsRelative(const char* path) { return !IsAbsolute(path); }
    // Creates the folder and any missing parents; true when it exists afterwards.
    static bool CreateRecursiveDirectory(const char* path, SECURITY_ATTRIBUTES* attributes = nullptr);
    // Shortens path with "..." to fit width pixels in the window's font, keeping its file
    // name as long as it can. False when the text cannot be measured (no window, or no
    // measuring service from the host).
    static bool MakeCompactPath(TCString& path, int width, HWND window);

    // The default folder, in canonical form; true when it changed.
    bool SetDefPath(const char* path);
    const TCString& GetDefPath() const { return m_defPath; }
    // Stores path relative to the default folder when it lies inside it; true when the
    // stored path changed.
    bool SetPath(const char* path);
    const TCString& GetAbsPath() const;
    const TCString& GetRelPath() const;
    // The stored path for editing in place; HasChanged tells whether it was edited.
    TCString& GetPathRef();
    bool HasChanged();
    bool IsEmpty() const { return m_path.IsEmpty(); }
    // Last component of the stored path, without its extension, and its extension (".txt").
    TCString GetFileName() const;
    TCString GetFileTitle() const;
    TCString GetFileExt() const;
    // The folder of the absolute path.
    TCString GetDirectory() const;
    void EnableResolveCSIDL(bool enable);
    void EnableResolveEnvironment(bool enable);
    bool CreateRecursiveDirectory(SECURITY_ATTRIBUTES* attributes = nullptr) const;

    // The host's choosers, starting at the absolute path; on OK the chosen path is stored.
    // Return RESULT_OK (1) or the chooser's other answer; RESULT_CANCEL without a chooser.
    int DoFileOpenDialog(const char* filter = nullptr, HWND parent = nullptr);
    int DoFileSaveDialog(const char* filter = nullptr, const char* defExt = nullptr,
                         HWND parent = nullptr);
    int DoFileDialog(bool open, const char* filter = nullptr, const char* defExt = nullptr,
                     HWND parent = nullptr);
    int DoFolderDialog(const char* title = nullptr, HWND parent = nullptr);

    // Message 12 (set text, param pointing to the text) sets the default folder and returns
    // whether it changed; other messages return 0.
    long GetMessage(unsigned int message, long param);

protected:
    // The next placeholder "%CSIDL_...%" or "%...%" at or after from: positions of its
    // opening and closing '%'.
    static bool FindCSIDL(const char* path, int from, int& begin, int& end);
    static bool FindEnvironment(const char* path, int from, int& begin, int& end);
    // Value of the text between the '%' of a special-folder placeholder; true for a known
    // folder, even when it has no place here (value "").
    static bool ResolveCSIDL(const char* placeholder, TCString& value);
    // Value of an environment variable; true when it is not empty.
    static bool ResolveEnvironment(const char* name, TCString& value);
    // The shell's number of a special folder name ("CSIDL_APPDATA"); -1 when unknown.
    static int CSIDL2ID(const char* name);

private:
    void BuildPath() const;
    int RunChooser(TCFileChooserRequest::Kind kind, const char* filter, const char* defExt,
                   const char* title, HWND parent);

    TCString m_defPath;
    mutable TCString m_absPath;    // empty: to be built again
    mutable TCString m_builtPath;  // the stored path the absolute path was built from
    TCString m_path;
    bool m_resolveCSIDL;
    bool m_resolveEnvironment;
};
