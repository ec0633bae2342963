#pragma once
// One barcode as a builder hands it to CSessionManager::CreateSpecificBarCode:
// geometry in engine units, flags decoded, option strings (density, ratio)
// still as the script wrote them. A plain value; the session makes one per
// barcode command.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/VInterface.h"

struct BarcodeObject {
  // Data sources as the barcode builders number them.
  enum Source : int32_t { kStatic = 0, kSequence = 1, kPrompt = 2 };

  std::wstring typeName;  // as the type table spells it
  int32_t symbology = 0;  // a VSymbology
  VRect rect;             // engine units; the engine sizes the symbol's width
  int32_t height = 0;     // bar height, engine units
  int32_t unitsPerInch = 1000;
  bool humanReadable = false;
  bool humanReadableOnTop = false;
  bool checkCharacter = false;
  std::wstring data;
  int32_t rotation = 0;  // degrees, within -359 .. 359
  int32_t source = kStatic;
  // kPrompt: the prompt text. kSequence: start value, increment, number of
  // labels, prefix, postfix.
  std::vector<std::wstring> extraTexts;
  std::wstring density;
  std::wstring ratio;
};
