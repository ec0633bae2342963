#pragma once
// Makes a fresh parser for each job from its language code and owns the
// attribute records the parsers share (one per record type, made on first use
// and kept for the factory's lifetime): ZPL has its own, DPL, TPL and XTPL
// share one TPLData, JPL has its own. The factory must outlive the parsers it
// made. The session owns one; tests and fuzz targets make their own.
//
// Which languages have a parser is the table in ParserFactory.cpp: one row per
// language, beside the parsers' folders.

#include <cstdint>
#include <map>
#include <memory>
#include <typeindex>
#include <typeinfo>

#include "parsers/LanguageParserBase.h"
#include "parsers/zpl/ZplDialect.h"

class CParserFactory {
 public:
  CParserFactory();
  ~CParserFactory();
  CParserFactory(const CParserFactory&) = delete;
  CParserFactory& operator=(const CParserFactory&) = delete;

  // A new parser for the language code (see intake/Languages.h), or null for
  // a code no parser handles.
  std::unique_ptr<CLanguageParserBase> GetParser(int32_t language);

  // The ZPL dialect of the parsers made from now on (device until set).
  void SetZplDialect(ZplDialect dialect) { zplDialect_ = dialect; }
  ZplDialect zplDialect() const { return zplDialect_; }

  // The shared record of type T, made on first use.
  template <typename T>
  T* Record() {
    std::unique_ptr<ScriptData>& slot = records_[std::type_index(typeid(T))];
    if (!slot) slot = std::make_unique<T>();
    return static_cast<T*>(slot.get());
  }

 private:
  // Kept through the base so this header needs no language's types.
  std::map<std::type_index, std::unique_ptr<ScriptData>> records_;
  ZplDialect zplDialect_ = ZplDialect::kDevice;
};
