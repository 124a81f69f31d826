#include "framework/program_folder.h"

#include "platform/codepage.h"
#include "platform/executable_path.h"

namespace framework {

std::string FolderOfPath(std::string_view path) {
    const char* const begin = path.data();
    const char* const end = begin + path.size();
    const char* afterSlash = begin;
    for (const char* p = begin; p < end; p = platform::NextChar(p, end)) {
        if (*p == '\\') afterSlash = p + 1;
    }
    return std::string(begin, afterSlash);
}

std::string ProgramFolder() { return FolderOfPath(platform::ExecutablePath()); }

}  // namespace framework
