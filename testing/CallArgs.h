#pragma once
// Text forms of the values a recording engine is called with, so that tests
// compare recorded calls as plain strings: integers in decimal, reals with
// %g, null pointers as "null", points and rectangles in brackets, formats as
// "field=value" lists in field order.

#include <cstdint>
#include <string>

#include "engine/VInterface.h"

namespace callargs {

std::wstring Arg(int32_t value);
std::wstring Arg(uint32_t value);
std::wstring Arg(bool value);
std::wstring Arg(float value);
std::wstring Arg(double value);
std::wstring Arg(const std::wstring& value);
std::wstring Arg(const wchar_t* value);
std::wstring Arg(const void* pointer);
std::wstring Arg(const VPoint& point);
std::wstring Arg(const VRect& rect);
std::wstring Arg(const VLabelData& data);
std::wstring Arg(const VLabelOptions& options);
std::wstring Arg(const VTextFormat& format);
std::wstring Arg(const VTextAlignment& alignment);
std::wstring Arg(const VBarcodeFormat& format);
std::wstring Arg(const VBarcodeLayout& layout);
std::wstring Arg(const VLineFormat& format);
std::wstring Arg(const VPrintData& job);

}  // namespace callargs
