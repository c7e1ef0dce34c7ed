// vrotool table: a table of a database file as text, exactly as the table window copies it.
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "tables/TableExport.h"
#include "tables/TableText.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/FindItem.h"
#include "tools/vrotool/LocaleStyle.h"

#include <QFile>
#include <QLocale>

#include <cstdint>
#include <cstdio>
#include <limits>

namespace {

constexpr long long MaxInt = std::numeric_limits<int32_t>::max();

} // namespace

int TableCommand(Arguments& args) {
    const auto index = args.Integer("--index", 1, MaxInt);
    const auto caption = args.Value("--caption");
    const auto first = args.Integer("--first", 0, MaxInt);
    const auto last = args.Integer("--last", 0, MaxInt);
    const bool csv = args.Flag("--csv");
    const auto localeName = args.Value("--locale");
    const auto output = args.Value("--output", "-o");
    const std::string file = args.OnlyFile("FILE.vro");
    if (index.has_value() == caption.has_value())
        throw UsageError("give either --index N or --caption TEXT");
    if (first && last && *last < *first)
        throw UsageError("--last comes before --first");
    const QLocale locale = localeName ? LocaleNamed(*localeName) : QLocale::system();

    LDatabase db;
    LoadDatabaseFile(db, file);
    const LTableRecord& table = FindItem(db.Tables(), "table", index, caption);
    const TableLayout layout = ChooseLayout(table.Sources);
    TableText text(locale);
    text.SetGroup(&table.Sources);
    text.SetType(layout.Type);
    if (layout.LeavesOut)
        std::fprintf(stderr, "The table also holds Event or Cumulative parameters, which a "
                             "Historic table cannot show; they are left out.\n");

    const int32_t rows = text.DataRowCount();
    const auto from = static_cast<int32_t>(first.value_or(0));
    const auto to = static_cast<int32_t>(last.value_or(rows - 1));
    if (from > to || to >= rows)
        Raise("Rows " + std::to_string(from) + " to " + std::to_string(to) +
              " are not in the table: its data rows are 0 to " + std::to_string(rows - 1));
    const RowFormat format = csv ? RowFormat::Csv : RowFormat::Tab;
    if (output) {
        QString error;
        if (ExportTable(text, from, to, QString::fromStdString(*output), format, error) !=
            ExportResult::Written)
            Raise("Error writing " + *output + ": " + error.toStdString());
        std::printf("Wrote %s\n", output->c_str());
        return 0;
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || !WriteTableText(text, from, to, format, out))
        Raise("Error writing the table");
    return 0;
}
