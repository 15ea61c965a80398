#pragma once

// TCPathText, the text algebra of paths with '\\' separators, drives, UNC and placeholders.

#include <string>
#include <string_view>

// The text algebra of paths. Inside the library components are separated by '\\'; '/' is
// accepted on input and becomes '\\'. A path is rooted when it begins with a UNC server
// ("\\\\server\\"), a drive ("C:", with the separator that follows it), a separator, or a
// placeholder ('%', up to and including the first separator): a placeholder stands for a
// folder that is only known once it is resolved.
class TCPathText {
public:
    // Paths longer than this are cut (never inside a UTF-8 sequence).
    static constexpr size_t kMaxLength = 259;

    static void Cut(std::string& path);
    // A byte inside a UTF-8 sequence, where no text may be cut.
    static bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
    // Cut, '/' made '\\', and doubled separators made single except at the very start.
    static std::string Normalize(std::string_view path);
    static size_t RootLength(std::string_view normalized);
    static bool IsRooted(std::string_view path) { return RootLength(Normalize(path)) > 0; }
    // Drive and UNC paths name folders of case-blind file systems.
    static bool FoldsCase(std::string_view normalized);
    // "." and ".." resolved, ".\\" in front of a relative path (unless it begins with '.'),
    // no trailing separator (see TrimSeparator).
    static std::string Canonical(std::string_view path);
    // The path up to the separator before its last component.
    static std::string Directory(std::string_view normalized);
    // Removes a trailing separator, except from "\\" and "X:\\".
    static void TrimSeparator(std::string& normalized);
};
