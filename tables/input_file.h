#pragma once
// A file opened for reading, named as every door names files: in UTF-8.
// Windows opens it by its UTF-16 name, so names outside the ANSI code page
// are found too; elsewhere a name is its bytes.

#include <fstream>
#include <string>

#include "engine/outcome.h"

namespace ambrelay::tables {

using InputFile = std::ifstream;

// The open file, read as bytes; UnreadableFile, with the system's reason,
// when it cannot be opened.
Outcome<InputFile> OpenInput(const std::string& utf8Path);

}  // namespace ambrelay::tables
