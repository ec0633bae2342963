#pragma once
// Keeps the pango layouts a TextShaper made, so that text repeated from label
// to label (captions, a sender's address, recurring names, barcode digits) is
// itemised, shaped and broken into lines once per render thread instead of
// once per label. A layout is found again only for the same LayoutRequest, which
// holds everything the shaper hands pango; the rest (resolution, font options,
// unrounded glyph positions) belongs to the shaper's context and never
// changes, and if that context reports a change all layouts made in it are
// dropped. A cached layout is shared by every prepared text that asked for
// it, so nobody may change it once made: drawing only reads it. Owned by a
// TextShaper and used by that shaper's thread only; holds at most
// kMaxEntries layouts and kMaxTextBytes of their text, dropping the least
// recently used first.

#include <pango/pango.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace vellum {

struct GObjectUnref {
  void operator()(void* object) const;
};
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectUnref>;

// What a layout is made of, in pango's own units.
struct LayoutRequest {
  std::string text;  // UTF-8
  std::string family;
  int size = 0;  // pango units
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool letterSpaced = false;  // a letter-spacing attribute, even one of 0
  int letterSpacing = 0;      // pango units
  float lineSpacing = 0.0f;   // 0: the font's own line height
  PangoAlignment alignment = PANGO_ALIGN_LEFT;
  int width = -1;        // pango units, wrapping word by word, then by characters; -1: no wrapping
  bool justify = false;  // to both edges (wrapped text only)
  int indent = 0;        // pango units (wrapped text only)

  bool operator==(const LayoutRequest&) const = default;
};

// A fresh layout of `request` in `context`, not kept anywhere.
LayoutPtr MakeLayout(PangoContext* context, const LayoutRequest& request);

class LayoutCache {
 public:
  static constexpr size_t kMaxEntries = 512;
  static constexpr size_t kMaxTextBytes = 64 * 1024;
  // A longer text is laid out afresh each time: long texts seldom repeat.
  static constexpr size_t kMaxEntryTextBytes = 2048;

  LayoutCache() = default;
  LayoutCache(const LayoutCache&) = delete;
  LayoutCache& operator=(const LayoutCache&) = delete;

  // A reference to the layout of `request` in `context`, made on a miss.
  LayoutPtr Get(PangoContext* context, const LayoutRequest& request);
  void Clear();

  size_t size() const { return entries_.size(); }
  size_t textBytes() const { return textBytes_; }

 private:
  struct Entry {
    LayoutRequest request;
    LayoutPtr layout;
  };
  struct RequestHash {
    size_t operator()(const LayoutRequest* request) const;
  };
  struct RequestEqual {
    bool operator()(const LayoutRequest* a, const LayoutRequest* b) const { return *a == *b; }
  };
  static size_t BytesOf(const LayoutRequest& request) {
    return request.text.size() + request.family.size();
  }
  void Refresh(PangoContext* context);
  void Insert(const LayoutRequest& request, const LayoutPtr& layout);
  void DropOldest();

  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<const LayoutRequest*, std::list<Entry>::iterator, RequestHash, RequestEqual>
      index_;
  size_t textBytes_ = 0;
  PangoContext* context_ = nullptr;  // the context the layouts were made in
  uint32_t serial_ = 0;              // and its serial then
};

}  // namespace vellum
