// TCFilePath's file and folder choosers and compacted display of paths.
#include "corekit80/foundation/TCFilePath.h"

#include <cstring>
#include <string>

#include "corekit80/foundation/TCPathTextImpl.h"
#include "corekit80/platform/TCFileSystem.h"

namespace {

// Characters that no chooser accepts in a start path.
const char kNotInStartPath[] = "\r\n*?\"<>|";

} // namespace

int TCFilePath::RunChooser(TCFileChooserRequest::Kind kind, const char* filter,
                           const char* defExt, const char* title, HWND parent)
{
    const TCString& abs = GetAbsPath();
    const TCString start =
        TCNativePath(strpbrk(abs, kNotInStartPath) ? m_defPath : abs);
    const TCFileChooserRequest request{kind, start, filter, defExt, title, parent};
    TCString chosen;
    const int result = TCRunFileChooser(request, chosen);
    if (result == TCFileChooserRequest::RESULT_OK)
        SetPath(chosen);
    return result;
}

int TCFilePath::DoFileOpenDialog(const char* filter, HWND parent)
{
    return DoFileDialog(true, filter, nullptr, parent);
}

int TCFilePath::DoFileSaveDialog(const char* filter, const char* defExt, HWND parent)
{
    return DoFileDialog(false, filter, defExt, parent);
}

int TCFilePath::DoFileDialog(bool open, const char* filter, const char* defExt, HWND parent)
{
    return RunChooser(open ? TCFileChooserRequest::OPEN_FILE : TCFileChooserRequest::SAVE_FILE,
                      filter, defExt, nullptr, parent);
}

int TCFilePath::DoFolderDialog(const char* title, HWND parent)
{
    return RunChooser(TCFileChooserRequest::FOLDER, nullptr, nullptr, title, parent);
}

bool TCFilePath::MakeCompactPath(TCString& path, int width, HWND window)
{
    if (!window)
        return false;
    const std::string text(static_cast<const char*>(path));
    const int full = TCMeasureText(window, text.c_str());
    if (full < 0)
        return false;
    if (full <= width)
        return true;
    auto fits = [&](const std::string& candidate) {
        const int w = TCMeasureText(window, candidate.c_str());
        return w >= 0 && w <= width;
    };
    // First the folders give way, from the end of the head: "C:\\Da...\\file.txt".
    const size_t cut = text.find_last_of("\\/");
    const std::string name = cut == std::string::npos ? text : text.substr(cut);
    const std::string head = cut == std::string::npos ? std::string() : text.substr(0, cut);
    for (size_t n = head.size(); n-- > 0;) {
        if (TCPathText::IsContinuationByte(head[n]))
            continue;
        const std::string candidate = head.substr(0, n) + "..." + name;
        if (fits(candidate)) {
            path = candidate.c_str();
            return true;
        }
    }
    // Then the file name itself: "file...".
    const std::string bare = cut == std::string::npos ? name : name.substr(1);
    for (size_t n = bare.size(); n-- > 0;) {
        if (TCPathText::IsContinuationByte(bare[n]))
            continue;
        const std::string candidate = bare.substr(0, n) + "...";
        if (fits(candidate)) {
            path = candidate.c_str();
            return true;
        }
    }
    path = "...";
    return true;
}
