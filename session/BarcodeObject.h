#pragma once
// One barcode as a builder hands it to CSessionManager::CreateSpecificBarCode:
// geometry in engine units, flags decoded, option strings (density, ratio)
// still as the script wrote them. A plain value; the session makes one per
// barcode command. SerialSequence is shared with the text builder.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/VInterface.h"

// A serial number as texts and barcodes set it up: the first value, the step,
// how many labels it runs over, and what stands before and after it.
struct SerialSequence {
  std::wstring start;
  int32_t increment = 1;
  int32_t labelCount = 1;
  std::wstring prefix;
  std::wstring postfix;
};

// A symbol's details as a ZPL job gives them (record::BarcodeParam from
// kModuleDots on); zero or empty leaves the type's default.
struct SymbolDetails {
  int32_t moduleDots = 0;
  bool symbologyRule = false;  // data, ratio and human-readable line as full ZPL has them
  int32_t errorLevel = -1;
  int32_t symbolSize = 0;
  int32_t rows = 0;
  int32_t rowDots = 0;
  std::wstring mode;
  std::wstring primary;
  bool anchorBottom = false;  // the position is the symbol's bottom-left corner
};

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
  std::wstring prompt;      // kPrompt: what the operator is asked
  SerialSequence sequence;  // kSequence: the serial number
  std::wstring density;
  std::wstring ratio;
  SymbolDetails details;
};
