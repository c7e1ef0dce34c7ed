// The notes no file may hold.
#include "model/LNote.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(LNoteTest, ProblemsOfNotes) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string longest(500, 'x');
    struct Case {
        LNote note;
        std::string problem;
    } cases[] = {
        {{46092.5, 46092.5, LNoteKind::Remark, "a point", ""}, ""},
        {{46092.5, 46093.5, LNoteKind::Exclude, longest, "me"}, ""},
        // Characters, not bytes: "é" is two bytes here, one in the file.
        {{46092.5, 46092.5, LNoteKind::Change, std::string(499, 'x') + "é", ""}, ""},
        {{46092.5, 46092.5, LNoteKind::Change, longest + "é", ""},
         "A note's text holds at most 500 characters, not 501."},
        {{46093.0, 46092.0, LNoteKind::Remark, "", ""}, "A note cannot end before it starts."},
        {{nan, nan, LNoteKind::Remark, "", ""},
         "A note's times must be dates from the years 1 to 9999."},
        {{46092.0, INFINITY, LNoteKind::Remark, "", ""},
         "A note's times must be dates from the years 1 to 9999."},
        {{46092.0, 46092.0, static_cast<LNoteKind>(4), "", ""},
         "A note is a remark, an exclude, a change or a recorder note."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NoteProblem(c.note), c.problem) << c.note.Text.size();
}

} // namespace
