#include "database/ImportFile.h"

#include "database/LDatabase.h"
#include "database/OpenFailure.h"
#include "model/ErrorReport.h"
#include "model/InputFile.h"

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
        InputFile file(fileName);
        try {
            database.Parse(file.Contents());
        } catch (const VroError& e) {
            Raise(OpenFailureText(file, FileKind::ExportFile, FileAction::Import, e.what()));
        }
        if (editInfo)
            editInfo(database.Header());
        database.SetFileName(ImportBaseName(fileName));
        database.SetModified(true);
    } catch (...) {
        database.Close();
        throw;
    }
}
