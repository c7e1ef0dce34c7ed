#include "tests/support/PdfPages.h"

#include <array>
#include <cstdio>

namespace {

std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

int PdfPageCount(const std::string& fileName) {
    const std::string info = Output("pdfinfo " + Quoted(fileName) + " 2>/dev/null");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::stoi(info.substr(at + 6));
}

std::vector<std::string> PdfPageTexts(const std::string& fileName) {
    // pdftotext ends every page with a form feed.
    const std::string text = Output("pdftotext -layout " + Quoted(fileName) + " - 2>/dev/null");
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
