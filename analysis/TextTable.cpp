#include "analysis/TextTable.h"

#include "model/PlainText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

TextCell TextCell::Of(std::string text) {
    TextCell cell;
    cell.kind = Text;
    cell.text = std::move(text);
    return cell;
}

TextCell TextCell::Of(double number, int decimals, std::string unit) {
    TextCell cell;
    cell.kind = Number;
    cell.value = number;
    cell.decimals = decimals;
    cell.text = std::move(unit);
    return cell;
}

TextCell TextCell::At(TDateTime time) {
    TextCell cell;
    cell.kind = Time;
    cell.value = time;
    return cell;
}

TextCell TextCell::OfDay(TDateTime midnight) {
    TextCell cell;
    cell.kind = Day;
    cell.value = midnight;
    return cell;
}

TextColumn TextColumn::Texts(std::string title) {
    TextColumn column;
    column.Title = std::move(title);
    return column;
}

TextColumn TextColumn::Figures(std::string title, std::string unit) {
    TextColumn column;
    column.Title = std::move(title);
    column.Unit = std::move(unit);
    column.Right = true;
    return column;
}

TextColumn TextColumn::ScaledFigures(std::string title, std::string unit) {
    TextColumn column = Figures(std::move(title), std::move(unit));
    column.Scaled = true;
    return column;
}

TextColumn TextColumn::Shares(std::string title) {
    TextColumn column = Figures(std::move(title), "%");
    column.InCells = true;
    return column;
}

std::string TextTable::HeaderText(size_t column) const {
    const TextColumn& c = Columns[column];
    return c.Unit.empty() || c.InCells ? c.Title : c.Title + " (" + c.Unit + ")";
}

ScaledUnit TextTable::ColumnScale(size_t column) const {
    const TextColumn& c = Columns[column];
    if (!c.Scaled || !c.SuffixColumn.empty())
        return {1, c.Unit};
    double largest = 0;
    int decimals = 0;
    for (const std::vector<TextCell>& row : Rows)
        if (column < row.size() && row[column].kind == TextCell::Number &&
            std::isfinite(row[column].value)) {
            largest = std::max(largest, std::fabs(row[column].value));
            decimals = std::max(decimals, row[column].decimals);
        }
    return ScaleOf(largest, c.Unit, 0.5 * std::pow(10.0, -decimals));
}

ScaledUnit TextTable::RowScale(size_t row) const {
    const std::vector<TextCell>& cells = Rows[row];
    if (!UnitColumn || *UnitColumn >= cells.size() || cells[*UnitColumn].kind != TextCell::Text)
        return {};
    double largest = 0;
    int decimals = 0;
    for (size_t c = 0; c < Columns.size() && c < cells.size(); ++c)
        if (Columns[c].InRowUnit && cells[c].kind == TextCell::Number &&
            std::isfinite(cells[c].value)) {
            largest = std::max(largest, std::fabs(cells[c].value));
            decimals = std::max(decimals, cells[c].decimals);
        }
    return ScaleOf(largest, cells[*UnitColumn].text, 0.5 * std::pow(10.0, -decimals));
}

std::string TextTable::ShownHeaderText(size_t column) const {
    const TextColumn& c = Columns[column];
    if (!c.Scaled)
        return HeaderText(column);
    const ScaledUnit scale = ColumnScale(column);
    return scale.Unit.empty() ? c.Title : c.Title + " (" + scale.Unit + ")";
}

std::string TextTable::CellText(size_t row, size_t column, const TextStyle& style) const {
    const std::vector<TextCell>& cells = Rows[row];
    if (column >= cells.size())
        return Missing;
    const TextCell& cell = cells[column];
    const TextColumn& c = Columns[column];
    switch (cell.kind) {
    case TextCell::Text:
        return UnitColumn == column ? RowScale(row).Unit : cell.text;
    case TextCell::Time:
        return style.Time(cell.value);
    case TextCell::Day:
        return PlainDateTime(cell.value).substr(0, 10);
    case TextCell::Number: {
        if (!std::isfinite(cell.value))
            return Missing;
        // A figure with a unit of its own is scaled by itself.
        if (c.Scaled && !c.SuffixColumn.empty() && !cell.text.empty())
            return style.Scaled(cell.value, cell.text, cell.decimals);
        const double divisor = c.InRowUnit ? RowScale(row).Divisor
                               : c.Scaled  ? ColumnScale(column).Divisor
                                           : 1;
        std::string text = style.Number(cell.value / divisor, cell.decimals);
        if (!c.SuffixColumn.empty() && !cell.text.empty())
            text += " " + cell.text;
        else if (c.InCells && !c.Unit.empty())
            text += " " + c.Unit;
        return text;
    }
    default:
        return Missing;
    }
}

std::vector<std::vector<std::string>> TextTable::Texts(const TextStyle& style) const {
    std::vector<std::vector<std::string>> texts;
    texts.reserve(Rows.size() + 1);
    auto& header = texts.emplace_back();
    for (size_t c = 0; c < Columns.size(); ++c)
        header.push_back(ShownHeaderText(c));
    for (size_t r = 0; r < Rows.size(); ++r) {
        auto& row = texts.emplace_back();
        for (size_t c = 0; c < Columns.size(); ++c)
            row.push_back(CellText(r, c, style));
    }
    return texts;
}

std::string TextTable::Text(const TextStyle& style, CellFormat format) const {
    if (format == CellFormat::Csv)
        return Csv();
    std::string out;
    for (const auto& row : Texts(style))
        AppendRow(out, row, format);
    return out;
}

std::string TextTable::Csv() const {
    std::vector<std::string> fields;
    std::string out;
    for (const TextColumn& c : Columns) {
        fields.push_back(c.Unit.empty() ? c.Title : c.Title + " (" + c.Unit + ")");
        if (!c.SuffixColumn.empty())
            fields.push_back(c.SuffixColumn);
    }
    AppendRow(out, fields, CellFormat::Csv);
    const NumberFormat plain = NumberFormat::Plain();
    for (const std::vector<TextCell>& row : Rows) {
        fields.clear();
        for (size_t c = 0; c < Columns.size(); ++c) {
            const TextCell cell = c < row.size() ? row[c] : TextCell{};
            std::string field;
            if (cell.kind == TextCell::Text)
                field = cell.text;
            else if (cell.kind == TextCell::Time)
                field = PlainDateTime(cell.value);
            else if (cell.kind == TextCell::Day)
                field = PlainDateTime(cell.value).substr(0, 10);
            else if (cell.kind == TextCell::Number && std::isfinite(cell.value))
                field = plain.Fixed(cell.value, cell.decimals);
            fields.push_back(std::move(field));
            if (!Columns[c].SuffixColumn.empty())
                fields.push_back(cell.kind == TextCell::Number && std::isfinite(cell.value)
                                     ? cell.text
                                     : std::string());
        }
        AppendRow(out, fields, CellFormat::Csv);
    }
    return out;
}

TextTable TextTable::Only(const std::vector<size_t>& columns) const {
    TextTable table;
    table.Missing = Missing;
    for (size_t k = 0; k < columns.size(); ++k) {
        table.Columns.push_back(Columns[columns[k]]);
        if (UnitColumn == columns[k])
            table.UnitColumn = k;
    }
    for (const std::vector<TextCell>& row : Rows) {
        std::vector<TextCell>& cells = table.Rows.emplace_back();
        for (const size_t c : columns)
            cells.push_back(c < row.size() ? row[c] : TextCell{});
    }
    return table;
}

size_t TextTable::LeadingColumns() const {
    size_t n = 0;
    while (n < Columns.size() && !Columns[n].Right)
        ++n;
    return n;
}

std::vector<std::vector<size_t>> ColumnGroups(const std::vector<double>& widths, size_t leading,
                                              double width, double gap) {
    leading = std::min(leading, widths.size());
    double lead = 0;
    for (size_t c = 0; c < leading; ++c)
        lead += widths[c] + gap;
    std::vector<std::vector<size_t>> groups;
    double used = width;
    for (size_t c = leading; c < widths.size(); ++c) {
        if (groups.empty() || (used + widths[c] > width && groups.back().size() > leading)) {
            std::vector<size_t>& group = groups.emplace_back();
            for (size_t l = 0; l < leading; ++l)
                group.push_back(l);
            used = lead;
        }
        groups.back().push_back(c);
        used += widths[c] + gap;
    }
    if (groups.empty()) {
        std::vector<size_t>& all = groups.emplace_back();
        for (size_t c = 0; c < widths.size(); ++c)
            all.push_back(c);
    }
    return groups;
}

std::string TextTable::AlignedText(const TextStyle& style) const {
    const std::vector<std::vector<std::string>> texts = Texts(style);
    // Characters, not bytes, so that "Ø" and "€" take one column.
    const auto width = [](const std::string& text) {
        return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    };
    std::vector<size_t> widths(Columns.size());
    for (const auto& row : texts)
        for (size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], width(row[c]));
    std::string out;
    for (const auto& row : texts) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            const std::string pad(widths[c] - width(row[c]), ' ');
            line += (c ? "  " : "") + (Columns[c].Right ? pad + row[c] : row[c] + pad);
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out += line + "\n";
    }
    return out;
}
