#pragma once
// A face as text asks for it: a family name, bold, italic. FaceFiles finds
// each face's file once per process; the FontCatalog keeps what it learnt of
// a face between runs.

#include <string>
#include <tuple>

namespace vellum {

struct FaceKey {
  std::string family;
  bool bold = false;
  bool italic = false;
  bool operator<(const FaceKey& other) const {
    return std::tie(family, bold, italic) < std::tie(other.family, other.bold, other.italic);
  }
};

}  // namespace vellum
