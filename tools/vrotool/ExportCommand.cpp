// vrotool export: the workbook of a whole database file, its survey with the survey's options.
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "reports/WorkbookExport.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/SurveyArguments.h"

#include <cstdio>

int ExportCommand(Arguments& args) {
    SurveyOptions survey = SurveyArguments(args);
    survey.Battery = BatteryArguments(args);
    const auto output = args.Value("--output", "-o");
    const std::string file = args.OnlyFile();
    if (!output)
        throw UsageError("give the workbook with -o BOOK.xlsx");
    const QString book = QString::fromStdString(*output);
    if (!IsWorkbookFileName(book))
        throw UsageError("the workbook's name must end in .xlsx, not '" + *output + "'");

    LDatabase db;
    OpenDatabaseOrRecording(db, file);
    QString error;
    if (ExportDatabaseWorkbook(db, book, error, {}, survey) != ExportResult::Written)
        Raise("Error writing " + *output + ": " + error.toStdString());
    std::printf("Wrote %s\n", output->c_str());
    return 0;
}
