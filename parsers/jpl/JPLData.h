#pragma once
// The keyword table of the line-command language: its vocabulary and the
// attribute values its lines write and read. The parser factory makes one and
// hands it to every CJPLParser; no parser resets the barcode attributes, so
// density and ratio carry over from line to line and from job to job.

#include <string_view>

#include "parsers/ScriptData.h"

class JPLData final : public ScriptData {
 public:
  // The vocabulary. The dispatcher compares the one-letter commands, the
  // ignored-block markers and "JZ"; "mm", "mi" and "L1;" are named here only.
  static constexpr std::wstring_view kJ = L"J", kJZ = L"JZ", kT = L"T", km = L"m";
  static constexpr std::wstring_view kmm = L"mm", kmi = L"mi", kH = L"H", kO = L"O";
  static constexpr std::wstring_view kS = L"S", kL1 = L"L1;", kM = L"M", kz = L"z";
  static constexpr std::wstring_view kI = L"I", kA = L"A", kB = L"B", kC = L"C";
  static constexpr std::wstring_view kG = L"G", kD = L"D";
  static constexpr std::wstring_view kBlockStart = L"<ABC>", kBlockEnd = L"</ABC>";

  JPLData();

  void ResetAll() override;
  void ResetShape() override;
  void ResetGraphic() override;
  void ResetLine() override;
  void ResetText() override;  // runs before every text line
};
