#pragma once

#include "database/LFont.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QString>

#include <cstdint>
#include <string>

// Fonts and colours as a chart record stores them, and as they are drawn. A record keeps its
// stored values exactly (so that one written back unchanged is byte-identical); what is drawn
// may be a substitute: an installed face for one that is missing, a palette colour for a
// system-colour code.

// The face to draw a stored face with: itself when installed, else a metric-compatible or
// at least similar installed face (fixed pitch for a fixed-pitch font).
QString DisplayFamily(const std::string& face, uint8_t pitch);

// The font to draw with: the display family, the stored point size and styles.
QFont DisplayFont(const LFont& font);

// A stored colour code: 0x00BBGGRR, or a system colour (top bit set, its index in the low
// byte) drawn with the matching colour of the palette.
QColor DisplayColor(uint32_t code, const QPalette& palette = QGuiApplication::palette());
bool IsSystemColor(uint32_t code);
// The code of a colour the user chose.
uint32_t ColorCode(const QColor& color);

// The record's font after the user chose a font in a dialog opened on the stored one: the
// stored font itself when the choice is what it is drawn as (so that opening and confirming
// a font dialog changes nothing), else the choice, keeping the stored character set and
// colour (and the pitch while the face stays).
LFont ChosenFont(const QFont& chosen, const LFont& stored);
