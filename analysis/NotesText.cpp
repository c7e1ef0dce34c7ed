#include "analysis/NotesText.h"

std::string NoteLine(const LNote& note, const TextStyle& style) {
    std::string line = style.Time(note.Start);
    if (note.IsRange())
        line += " to " + style.Time(note.End);
    line += std::string(", ") + NoteKindName(note.Kind) + ": " + note.Text;
    if (!note.Author.empty())
        line += " (" + note.Author + ")";
    return line;
}

std::string NotesText(const std::vector<LNote>& notes, int64_t excludedSamples,
                      const TextStyle& style, const std::string& heading) {
    if (notes.empty())
        return {};
    std::string text = heading + "\n";
    for (const LNote& note : notes)
        text += "  " + NoteLine(note, style) + "\n";
    if (excludedSamples > 0)
        text += "  Left out of the figures as not measured: " + style.Whole(excludedSamples) +
                (excludedSamples == 1 ? " sample" : " samples") + " in the exclude notes' ranges\n";
    return text;
}
