#include "tests/support/PdfPages.h"

#include "tests/support/CommandOutput.h"

#include <array>
#include <cstdio>

int PdfPageCount(const std::string& fileName) {
    const std::string info = CommandOutput("pdfinfo " + ShellQuoted(fileName) + " 2>/dev/null");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::stoi(info.substr(at + 6));
}

std::vector<std::string> PdfPageTexts(const std::string& fileName) {
    // pdftotext ends every page with a form feed.
    const std::string text =
        CommandOutput("pdftotext -layout " + ShellQuoted(fileName) + " - 2>/dev/null");
    std::vector<std::string> pages;
    size_t start = 0;
    for (size_t end; (end = text.find('\f', start)) != std::string::npos; start = end + 1)
        pages.push_back(text.substr(start, end - start));
    return pages;
}

int Occurrences(const std::string& page, const std::string& text) {
    int n = 0;
    for (size_t at = page.find(text); at != std::string::npos; at = page.find(text, at + 1))
        ++n;
    return n;
}
