#pragma once
// Makes a fresh parser for each job from its language code and owns the
// attribute records the parsers share (made on first use, kept for the
// factory's lifetime): ZPL has its own, DPL, TPL and XTPL share one TPLData,
// JPL has its own. The factory must outlive the parsers it made.

#include <cstdint>
#include <memory>

#include "intake/LanguageParserBase.h"
#include "parsers/zpl/ZplDialect.h"

class CParserFactory {
 public:
  CParserFactory();
  ~CParserFactory();
  CParserFactory(const CParserFactory&) = delete;
  CParserFactory& operator=(const CParserFactory&) = delete;

  // A new parser for the language code (see LanguageCode), or null for a code
  // no parser handles.
  std::unique_ptr<CLanguageParserBase> GetParser(int32_t language);

  // The ZPL dialect of the parsers made from now on (device until set).
  void SetZplDialect(ZplDialect dialect) { zplDialect_ = dialect; }
  ZplDialect zplDialect() const { return zplDialect_; }

 private:
  // Kept through the base so this header needs no language's types.
  std::unique_ptr<ScriptData> zplData_;  // a ZPLData
  std::unique_ptr<ScriptData> tplData_;  // a TPLData
  std::unique_ptr<ScriptData> jplData_;  // a JPLData
  ZplDialect zplDialect_ = ZplDialect::kDevice;
};
