#pragma once
// "^MU" in the full dialect: measurements written in inches or millimetres,
// or in dots of another resolution, become this printer's dots before a
// command is read. ZPLFullParser keeps the factor (the job's units) and
// rewrites each command through ScaleZplMeasurements before its handler
// sees it; handlers keep reading dots. Only the positions that measure
// something change; a factor of 1 changes nothing.

#include <string>
#include <string_view>

// Dots per unit of a "^MU" command's parameters (a, b, c) at `dpi`; 1 for
// dots at the printer's own resolution. `current` is kept where the command
// sets nothing readable.
double ZplUnitFactor(std::wstring_view parameters, int dpi, double current);

// `command` (whole, keyword first) with its measurements multiplied by
// `factor` and rounded to whole dots.
std::wstring ScaleZplMeasurements(std::wstring_view command, double factor);
