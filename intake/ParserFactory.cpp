#include "intake/ParserFactory.h"

#include "intake/ScriptingData.h"
#include "parsers/dpl/DPLParser.h"
#include "parsers/jpl/JPLData.h"
#include "parsers/jpl/JPLParser.h"
#include "parsers/tpl/TPLData.h"
#include "parsers/tpl/TPLParser.h"
#include "parsers/xtpl/XTPLParser.h"
#include "parsers/zpl/ZPLData.h"
#include "parsers/zpl/ZPLParser.h"

// Each language adds its row here when its parser exists; until then its code
// gets no parser, like an unknown code.

namespace {

// The record of type T in `slot`, made on first use.
template <typename T>
T* RecordOf(std::unique_ptr<ScriptData>& slot) {
  if (!slot) slot = std::make_unique<T>();
  return static_cast<T*>(slot.get());
}

}  // namespace

CParserFactory::CParserFactory() = default;
CParserFactory::~CParserFactory() = default;

std::unique_ptr<CLanguageParserBase> CParserFactory::GetParser(int32_t language) {
  switch (language) {
    case LANGUAGE_ZPL:
      return std::make_unique<CZPLParser>(RecordOf<ZPLData>(zplData_), zplDialect_);
    case LANGUAGE_DPL:
      return std::make_unique<DPLParser>(RecordOf<TPLData>(tplData_));
    case LANGUAGE_JPL:
      return std::make_unique<CJPLParser>(RecordOf<JPLData>(jplData_));
    case LANGUAGE_TPL:
      return std::make_unique<TPLParser>(RecordOf<TPLData>(tplData_));
    case LANGUAGE_XTPL:
      return std::make_unique<XTPLParser>(RecordOf<TPLData>(tplData_));
    default:
      return nullptr;
  }
}
