#include "tests/support/ScratchFolder.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::string name = (fs::temp_directory_path() / "vro_XXXXXX").string();
    if (!::mkdtemp(name.data()))
        throw std::runtime_error("cannot make a scratch folder in " + name);
    path = name;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    // Tests take permissions away to provoke failures; give them back so that all can go.
    for (auto it = fs::recursive_directory_iterator(path, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored))
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::permissions(path, fs::perms::owner_all, ignored);
    fs::remove_all(path, ignored);
}

std::string ReadBytes(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& fileName, const std::string& bytes) {
    std::ofstream(fileName, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
