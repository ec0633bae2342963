#include "parsers/ParserFactory.h"

#include "intake/Languages.h"
#include "parsers/dpl/DPLParser.h"
#include "parsers/jpl/JPLData.h"
#include "parsers/jpl/JPLParser.h"
#include "parsers/tpl/TPLData.h"
#include "parsers/tpl/TPLParser.h"
#include "parsers/xtpl/XTPLParser.h"
#include "parsers/zpl/ZPLData.h"
#include "parsers/zpl/ZPLParser.h"
#include "parsers/zpl/full/ZPLFullParser.h"

namespace {

using MakeParser = std::unique_ptr<CLanguageParserBase> (*)(CParserFactory&);

// A Parser made on the factory's shared Record.
template <typename Parser, typename Record>
std::unique_ptr<CLanguageParserBase> Make(CParserFactory& factory) {
  return std::make_unique<Parser>(factory.Record<Record>());
}

// The ZPL parser is the one of the factory's dialect.
std::unique_ptr<CLanguageParserBase> MakeZpl(CParserFactory& factory) {
  if (factory.zplDialect() == ZplDialect::kFull) {
    return std::make_unique<ZPLFullParser>(factory.Record<ZPLData>());
  }
  return std::make_unique<CZPLParser>(factory.Record<ZPLData>());
}

struct ParserRow {
  int32_t language;
  MakeParser make;
};

// One row per language that has a parser (parsers/<language>/). A language
// without a row gets no parser, like an unknown code: its jobs print nothing.
// DPL and XTPL parsers take the TPLData record the TPL parser uses.
constexpr ParserRow kParsers[] = {
    {LANGUAGE_ZPL, MakeZpl},
    {LANGUAGE_DPL, Make<DPLParser, TPLData>},
    {LANGUAGE_JPL, Make<CJPLParser, JPLData>},
    {LANGUAGE_TPL, Make<TPLParser, TPLData>},
    {LANGUAGE_XTPL, Make<XTPLParser, TPLData>},
};

}  // namespace

CParserFactory::CParserFactory() = default;
CParserFactory::~CParserFactory() = default;

std::unique_ptr<CLanguageParserBase> CParserFactory::GetParser(int32_t language) {
  for (const ParserRow& row : kParsers) {
    if (row.language == language) return row.make(*this);
  }
  return nullptr;
}
