#include "tools/vrotool/CommandFiles.h"

#include "database/SafeFileReplace.h"
#include "model/ErrorReport.h"
#include "tools/vrotool/JsonWriter.h"

#include <cstdio>
#include <cstdlib>

std::string JsonText(const std::function<void(JsonWriter&)>& write) {
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    if (!out)
        throw std::bad_alloc();
    JsonWriter json(out);
    write(json);
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

void WriteOutput(const std::string& text, const std::optional<std::string>& output) {
    if (!output) {
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
            std::fflush(stdout) != 0)
            Raise("Error writing to standard output");
        return;
    }
    SafeFileReplace file(*output, false);
    file.Writer().Write(text.data(), static_cast<int64_t>(text.size()));
    file.Commit();
    std::printf("Wrote %s\n", output->c_str());
}
