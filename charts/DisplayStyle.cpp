#include "charts/DisplayStyle.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <cmath>
#include <map>
#include <mutex>
#include <utility>

namespace {

// Faces the record's defaults and older charts name, with installed faces of the same
// metrics (Liberation) or at least of the same kind (DejaVu).
const std::pair<const char*, const char*> Substitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Lucida Console", "DejaVu Sans Mono"},
    {"Tahoma", "DejaVu Sans"},
    {"Verdana", "DejaVu Sans"},
};

constexpr uint8_t FixedPitch = 2;
constexpr uint32_t SystemColorBit = 0x80000000u;

// The face drawn for a stored one, as the font database answers.
QString FindFamily(const std::string& face, uint8_t pitch) {
    const QString stored = QString::fromStdString(face);
    if (!stored.isEmpty() && QFontDatabase::hasFamily(stored))
        return stored;
    for (const auto& [name, substitute] : Substitutes)
        if (stored.compare(QLatin1String(name), Qt::CaseInsensitive) == 0 &&
            QFontDatabase::hasFamily(QLatin1String(substitute)))
            return QLatin1String(substitute);
    if (pitch == FixedPitch)
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    // fontconfig picks its own likeness for any other face.
    return stored;
}

} // namespace

QString DisplayFamily(const std::string& face, uint8_t pitch) {
    // Asking the database goes to fontconfig each time, and every redraw asks for the fonts of
    // its texts: the answers are kept, the installed faces staying as they were at start-up.
    static std::mutex lock;
    static std::map<std::pair<std::string, uint8_t>, QString> known;
    const std::lock_guard<std::mutex> hold(lock);
    auto [at, added] = known.try_emplace({face, pitch});
    if (added)
        at->second = FindFamily(face, pitch);
    return at->second;
}

QFont DisplayFont(const LFont& font) {
    QFont f(DisplayFamily(font.Name, font.Pitch));
    if (font.Pitch == FixedPitch)
        f.setStyleHint(QFont::TypeWriter);
    if (font.Size > 0)
        f.setPointSize(font.Size);
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    f.setStrikeOut(font.StrikeOut);
    return f;
}

bool IsSystemColor(uint32_t code) {
    return (code & SystemColorBit) != 0;
}

QColor DisplayColor(uint32_t code, const QPalette& palette) {
    if (IsSystemColor(code)) {
        // The platform's system colour indexes, by what they colour.
        switch (code & 0xFF) {
        case 1:  // desktop
        case 12: // application workspace
            return palette.color(QPalette::Dark);
        case 2:  // active caption
        case 13: // highlight
            return palette.color(QPalette::Highlight);
        case 3:  // inactive caption
        case 16: // button shadow
            return palette.color(QPalette::Mid);
        case 5: // window
            return palette.color(QPalette::Base);
        case 6:  // window frame
        case 21: // 3D dark shadow
            return palette.color(QPalette::Shadow);
        case 9:  // caption text
        case 14: // highlight text
            return palette.color(QPalette::HighlightedText);
        case 17: // grey text
        case 19: // inactive caption text
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 20: // button highlight
        case 22: // 3D light
            return palette.color(QPalette::Light);
        case 23: // tooltip text
            return palette.color(QPalette::ToolTipText);
        case 24: // tooltip background
            return palette.color(QPalette::ToolTipBase);
        case 7:  // menu text
        case 8:  // window text
        case 18: // button text
            return palette.color(QPalette::WindowText);
        default: // scroll bar, menu, borders, button face
            return palette.color(QPalette::Button);
        }
    }
    return QColor(static_cast<int>(code & 0xFF), static_cast<int>((code >> 8) & 0xFF),
                  static_cast<int>((code >> 16) & 0xFF));
}

uint32_t ColorCode(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<uint32_t>(rgb.blue()) << 16 | static_cast<uint32_t>(rgb.green()) << 8 |
           static_cast<uint32_t>(rgb.red());
}

LFont ChosenFont(const QFont& chosen, const LFont& stored) {
    const QFont shown = DisplayFont(stored);
    const bool sameFace = chosen.family() == shown.family();
    if (sameFace && chosen.pointSize() == shown.pointSize() && chosen.bold() == shown.bold() &&
        chosen.italic() == shown.italic() && chosen.underline() == shown.underline() &&
        chosen.strikeOut() == shown.strikeOut())
        return stored;
    LFont font = stored;
    if (!sameFace) {
        font.Name = chosen.family().toStdString();
        font.Pitch = 0;
    }
    if (chosen.pointSize() > 0)
        font.Size = chosen.pointSize();
    font.Bold = chosen.bold();
    font.Italic = chosen.italic();
    font.Underline = chosen.underline();
    font.StrikeOut = chosen.strikeOut();
    return font;
}
