#pragma once

#include <QGuiApplication>

#include <memory>

// The application the drawing commands need (fonts, PDF output; with widgets, for the chart
// engine) on the offscreen platform: they never need a display. The platform's remarks (no
// runtime folder, no window manager) are no news to a command that shows no window.
std::unique_ptr<QGuiApplication> OffscreenApplication(bool widgets);
