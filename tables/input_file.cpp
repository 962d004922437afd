#include "tables/input_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace ambrelay::tables {

Outcome<InputFile> OpenInput(const std::string& utf8Path)
{
#ifdef _WIN32
    const std::filesystem::path path(std::u8string(utf8Path.begin(), utf8Path.end()));
#else
    const std::filesystem::path path(utf8Path);
#endif
    InputFile file(path, std::ios::binary);
    if (!file) {
        return Problem(Reason::UnreadableFile, NameKind::None, utf8Path, std::strerror(errno));
    }
    return file;
}

}  // namespace ambrelay::tables
