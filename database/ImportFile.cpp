#include "database/ImportFile.h"

#include "database/LDatabase.h"
#include "model/Auxilary.h"

#include <strings.h>

std::string ImportBaseName(const std::string& fileName) {
    const size_t n = fileName.size();
    if (n > 4 && ::strcasecmp(fileName.c_str() + n - 4, ".bin") == 0)
        return fileName.substr(0, n - 4);
    return fileName;
}

void ImportFile(LDatabase& database, const std::string& fileName,
                const EditInfoFunction& editInfo) {
    try {
        database.New();
        database.Parse(ReadWholeFile(fileName));
        if (editInfo)
            editInfo(database.Header());
        database.SetFileName(ImportBaseName(fileName));
        database.SetModified(true);
    } catch (...) {
        database.Close();
        throw;
    }
}
