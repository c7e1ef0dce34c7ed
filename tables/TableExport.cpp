#include "tables/TableExport.h"

#include "texts/WriteFileSafely.h"

#include <QIODevice>

#include <string>

namespace {
constexpr int32_t RowsPerStep = 400;
constexpr size_t ChunkSize = 1 << 16;
} // namespace

RowFormat FormatForFileName(const QString& fileName) {
    return fileName.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? RowFormat::Csv
                                                                          : RowFormat::Tab;
}

bool WriteTableText(const TableText& text, int32_t first, int32_t last, RowFormat format,
                    QIODevice& device, const ExportProgress& progress) {
    std::string chunk;
    auto flush = [&] {
        const bool ok = device.write(chunk.data(), static_cast<qint64>(chunk.size())) ==
                        static_cast<qint64>(chunk.size());
        chunk.clear();
        return ok;
    };
    auto put = [&](int32_t row) {
        chunk += text.RowText(row, format);
        return chunk.size() < ChunkSize || flush();
    };
    if (!put(0))
        return false;
    int32_t done = 0;
    for (int32_t k = first; k <= last; ++k) {
        if (!put(k + text.FixedRows()))
            return false;
        if (++done % RowsPerStep == 0 && progress && !progress(done))
            return false;
    }
    return flush();
}

ExportResult ExportTable(const TableText& text, int32_t first, int32_t last,
                         const QString& fileName, RowFormat format, QString& error,
                         const ExportProgress& progress) {
    bool stopped = false;
    const auto write = [&](QIODevice& file) {
        return WriteTableText(text, first, last, format, file, [&](int32_t done) {
            stopped = progress && !progress(done);
            return !stopped;
        });
    };
    if (WriteFileSafely(fileName, write, error))
        return ExportResult::Written;
    return stopped ? ExportResult::Cancelled : ExportResult::Failed;
}
