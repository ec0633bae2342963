#include "vellum/SymbolLayout.h"

#include <algorithm>
#include <cmath>

namespace vellum {
namespace {

constexpr int kMinRowModules = 3;  // stacked rows stay at least this many modules tall

int RunDots(const SymbologyRow& row, int run, const ModuleMetrics& m) {
  if (run == 0) return 0;  // a row that starts with a bar
  if (row.wideElements) return run == 1 ? m.narrow : m.wide;
  return run * m.narrow;
}

// The dark runs of `modules` as bars from y to y + height; returns the width.
int AddRow(const SymbologyRow& row, const ModuleRow& modules, const ModuleMetrics& m, int y,
           int height, std::vector<BarRect>& bars) {
  int x = 0;
  bool dark = false;
  for (int run : modules.runs) {
    const int w = RunDots(row, run, m);
    if (dark && w > 0 && height > 0) bars.push_back({x, y, w, height});
    x += w;
    dark = !dark;
  }
  return x;
}

int RowsWidth(const SymbologyRow& row, const EncodedSymbol& symbol, const ModuleMetrics& m) {
  int width = 0;
  std::vector<BarRect> ignored;
  for (const ModuleRow& r : symbol.rows) width = std::max(width, AddRow(row, r, m, 0, 0, ignored));
  return width;
}

// Rows of equal height; kBound puts a one-module bar above, between and below.
void LayOutStacked(const SymbologyRow& row, const EncodedSymbol& symbol, const ModuleMetrics& m,
                   SymbolMarks& marks) {
  const int rows = std::max<int>(1, static_cast<int>(symbol.rows.size()));
  const bool bound = row.shape == SymbolShape::kBound;
  const int rule = bound ? m.narrow : 0;
  const int rowHeight = m.rowHeight > 0 ? m.rowHeight
                                        : std::max(kMinRowModules * m.narrow,
                                                   (m.barHeight - (rows + 1) * rule) / rows);
  marks.width = RowsWidth(row, symbol, m);
  int y = rule;
  for (const ModuleRow& r : symbol.rows) {
    AddRow(row, r, m, y, rowHeight, marks.bars);
    if (bound) marks.bars.push_back({0, y - rule, marks.width, rule});
    y += rowHeight + rule;
  }
  if (bound) marks.bars.push_back({0, y - rule, marks.width, rule});
  marks.height = y;
}

// Rows share the height in zint's proportions, rounded where they meet.
void LayOutPostal(const SymbologyRow& row, const EncodedSymbol& symbol, const ModuleMetrics& m,
                  SymbolMarks& marks) {
  double total = 0.0;
  for (const ModuleRow& r : symbol.rows) total += r.weight;
  double above = 0.0;
  for (const ModuleRow& r : symbol.rows) {
    const int top = static_cast<int>(std::lround(m.barHeight * above / total));
    above += r.weight;
    const int bottom = static_cast<int>(std::lround(m.barHeight * above / total));
    marks.width = std::max(marks.width, AddRow(row, r, m, top, bottom - top, marks.bars));
  }
  marks.height = m.barHeight;
}

void LayOutMatrix(const SymbologyRow& row, const EncodedSymbol& symbol, ModuleMetrics m,
                  SymbolMarks& marks) {
  const int rows = static_cast<int>(symbol.rows.size());
  if (m.fitHeight > 0 && rows > 0) m.narrow = std::max(1, m.fitHeight / rows);
  int y = 0;
  for (const ModuleRow& r : symbol.rows) {
    marks.width = std::max(marks.width, AddRow(row, r, m, y, m.narrow, marks.bars));
    y += m.narrow;
  }
  marks.height = y;
}

}  // namespace

ModuleMetrics MetricsFor(const VBarcodeFormat& format, int dpi) {
  ModuleMetrics m;
  const int mils = std::clamp(format.densityMils, 1, 1000);
  m.narrow = format.moduleDots > 0
                 ? std::min(format.moduleDots, 1000)
                 : std::max(1, static_cast<int>(std::lround(mils * dpi / 1000.0)));
  const double ratio =
      std::isfinite(format.ratio) ? std::clamp<double>(format.ratio, 2.0, 3.0) : 3.0;
  m.wide = std::max(m.narrow + 1, static_cast<int>(std::lround(ratio * m.narrow)));
  double inches = std::isfinite(format.heightInches) ? format.heightInches : 0.0;
  if (inches <= 0.0) inches = 0.5;
  m.barHeight = std::max(1, static_cast<int>(std::lround(std::min(inches, 20.0) * dpi)));
  if (format.rowDots > 0) {
    const bool matrixFit = format.moduleDots == 0;
    (matrixFit ? m.fitHeight : m.rowHeight) = std::min(format.rowDots, 20 * dpi);
  }
  return m;
}

SymbolMarks LayOutSymbol(const SymbologyRow& row, const EncodedSymbol& symbol,
                         const ModuleMetrics& metrics, int dpi) {
  SymbolMarks marks;
  switch (row.shape) {
    case SymbolShape::kLinear:
      if (!symbol.rows.empty()) {
        marks.width = AddRow(row, symbol.rows[0], metrics, 0, metrics.barHeight, marks.bars);
      }
      marks.height = metrics.barHeight;
      break;
    case SymbolShape::kStacked:
    case SymbolShape::kBound:
      LayOutStacked(row, symbol, metrics, marks);
      break;
    case SymbolShape::kPostal:
      LayOutPostal(row, symbol, metrics, marks);
      break;
    case SymbolShape::kMatrix:
      LayOutMatrix(row, symbol, metrics, marks);
      break;
    case SymbolShape::kMaxiCode:
      if (symbol.vectorWidth > 0.0) {
        marks.vectorScale = kMaxiCodeWidthInches * dpi / symbol.vectorWidth;
        marks.width = static_cast<int>(std::lround(symbol.vectorWidth * marks.vectorScale));
        marks.height = static_cast<int>(std::lround(symbol.vectorHeight * marks.vectorScale));
      }
      break;
  }
  return marks;
}

}  // namespace vellum
