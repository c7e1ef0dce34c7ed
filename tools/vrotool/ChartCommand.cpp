// vrotool chart: a chart of a database file drawn as its window draws it, into an SVG, PNG or
// PDF file, without a display.
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/FindItem.h"
#include "tools/vrotool/OffscreenApplication.h"
#include "windows/charts/ChartView.h"

#include <cstdio>
#include <limits>
#include <memory>

namespace {

constexpr long long MaxInt = std::numeric_limits<int32_t>::max();
constexpr int MaxSide = 20000;

QSize ParseSize(const std::string& text) {
    const QStringList parts = QString::fromStdString(text).split(QLatin1Char('x'));
    bool wide = false, high = false;
    const QSize size(parts.value(0).toInt(&wide), parts.value(1).toInt(&high));
    if (parts.size() != 2 || !wide || !high || size.width() < 16 || size.height() < 16 ||
        size.width() > MaxSide || size.height() > MaxSide)
        throw UsageError("--size takes WIDTHxHEIGHT, each 16 to 20000, e.g. 1200x800");
    return size;
}

} // namespace

int ChartCommand(Arguments& args) {
    const auto index = args.Integer("--index", 1, MaxInt);
    const auto caption = args.Value("--caption");
    const auto output = args.Value("--output", "-o");
    const auto sizeText = args.Value("--size");
    const std::string file = args.OnlyFile("FILE.vro");
    if (index.has_value() == caption.has_value())
        throw UsageError("give either --index N or --caption TEXT");
    if (!output)
        throw UsageError("give the picture to write with -o OUT.svg, OUT.png or OUT.pdf");
    const QString out = QString::fromStdString(*output);
    if (!out.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive) &&
        !out.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) &&
        !out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        throw UsageError("the picture's name ends in .svg, .png or .pdf");
    const QSize size = sizeText ? ParseSize(*sizeText) : QSize(1200, 800);

    // The chart engine is made of widgets.
    const auto application = OffscreenApplication(true);

    LDatabase db;
    LoadDatabaseFile(db, file);
    ChartView view(FindItem(db.Charts(), "chart", index, caption));
    QString error;
    if (!view.SaveAsPicture(out, size, &error))
        Raise("Error writing " + *output + (error.isEmpty() ? "" : ": " + error.toStdString()));
    std::printf("Wrote %s\n", output->c_str());
    return 0;
}
