#pragma once

#include <string>
#include <vector>

// What a printed PDF holds, read back with poppler's pdftotext and pdfinfo: the text of each
// page in its layout (columns kept apart by blanks), and the page count. An unreadable file
// gives no pages.
std::vector<std::string> PdfPageTexts(const std::string& fileName);
int PdfPageCount(const std::string& fileName);
// How often text stands in page.
int Occurrences(const std::string& page, const std::string& text);
