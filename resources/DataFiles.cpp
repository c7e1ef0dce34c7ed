#include "resources/DataFiles.h"

#include <system_error>
#include <vector>

namespace fs = std::filesystem;

fs::path FindDataFile(const std::string& name, const fs::path& programFolder) {
    std::vector<fs::path> candidates{fs::path(name)};
    // Without the program's folder, "beside it" would be the working directory again.
    if (!programFolder.empty()) {
        candidates.push_back(programFolder / ".." / "share" / "vroview" / name);
        candidates.push_back(programFolder / name);
    }
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        // A folder of that name is not a picture; anything else found is taken as one.
        if (fs::exists(candidate, error) && !fs::is_directory(candidate, error))
            return candidate;
    }
    return {};
}

fs::path ProgramFolder() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : self.parent_path();
}
