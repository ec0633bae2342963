#include "vellum/LayoutCache.h"

#include <functional>

#include "vellum/HashMix.h"

namespace vellum {
namespace {

void SetFont(PangoLayout* layout, const LayoutRequest& request) {
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, request.family.c_str());
  pango_font_description_set_weight(font, request.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(font, request.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_size(font, request.size);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  if (request.lineSpacing != 0.0f) pango_layout_set_line_spacing(layout, request.lineSpacing);
}

void SetAttributes(PangoLayout* layout, const LayoutRequest& request) {
  if (!request.underline && !request.letterSpaced) return;
  PangoAttrList* attrs = pango_attr_list_new();
  if (request.underline) {
    pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  }
  if (request.letterSpaced) {
    pango_attr_list_insert(attrs, pango_attr_letter_spacing_new(request.letterSpacing));
  }
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);
}

void SetWrapping(PangoLayout* layout, const LayoutRequest& request) {
  if (request.width < 0) return;
  pango_layout_set_width(layout, request.width);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_justify(layout, request.justify ? TRUE : FALSE);
  pango_layout_set_indent(layout, request.indent);
}

PangoLayout* Ref(PangoLayout* layout) { return static_cast<PangoLayout*>(g_object_ref(layout)); }

}  // namespace

void GObjectUnref::operator()(void* object) const {
  if (object != nullptr) g_object_unref(object);
}

LayoutPtr MakeLayout(PangoContext* context, const LayoutRequest& request) {
  LayoutPtr layout(pango_layout_new(context));
  // Up to the first NUL, as the text always went to pango.
  pango_layout_set_text(layout.get(), request.text.c_str(), -1);
  SetFont(layout.get(), request);
  SetAttributes(layout.get(), request);
  pango_layout_set_alignment(layout.get(), request.alignment);
  SetWrapping(layout.get(), request);
  return layout;
}

size_t LayoutCache::RequestHash::operator()(const LayoutRequest* request) const {
  size_t hash = std::hash<std::string>()(request->text);
  MixHash(hash, std::hash<std::string>()(request->family));
  MixHash(hash, static_cast<size_t>(request->size));
  MixHash(hash, static_cast<size_t>(request->width));
  MixHash(hash, static_cast<size_t>(request->letterSpacing));
  MixHash(hash, static_cast<size_t>(request->indent));
  MixHash(hash, std::hash<float>()(request->lineSpacing));
  MixHash(hash, static_cast<size_t>(request->alignment));
  MixHash(hash, (request->bold ? 1u : 0u) | (request->italic ? 2u : 0u) |
                    (request->underline ? 4u : 0u) | (request->letterSpaced ? 8u : 0u) |
                    (request->justify ? 16u : 0u));
  return hash;
}

LayoutPtr LayoutCache::Get(PangoContext* context, const LayoutRequest& request) {
  Refresh(context);
  auto found = index_.find(&request);
  if (found != index_.end()) {
    entries_.splice(entries_.begin(), entries_, found->second);
    return LayoutPtr(Ref(found->second->layout.get()));
  }
  LayoutPtr layout = MakeLayout(context, request);
  if (BytesOf(request) <= kMaxEntryTextBytes) Insert(request, layout);
  return layout;
}

void LayoutCache::Clear() {
  index_.clear();
  entries_.clear();
  textBytes_ = 0;
}

// A context whose settings or font map changed lays text out differently:
// what was made in it before no longer answers for a request.
void LayoutCache::Refresh(PangoContext* context) {
  const uint32_t serial = pango_context_get_serial(context);
  if (context == context_ && serial == serial_) return;
  Clear();
  context_ = context;
  serial_ = serial;
}

void LayoutCache::Insert(const LayoutRequest& request, const LayoutPtr& layout) {
  const size_t bytes = BytesOf(request);
  while (!entries_.empty() &&
         (entries_.size() >= kMaxEntries || textBytes_ + bytes > kMaxTextBytes)) {
    DropOldest();
  }
  entries_.push_front(Entry{request, LayoutPtr(Ref(layout.get()))});
  index_.emplace(&entries_.front().request, entries_.begin());
  textBytes_ += bytes;
}

void LayoutCache::DropOldest() {
  textBytes_ -= BytesOf(entries_.back().request);
  index_.erase(&entries_.back().request);
  entries_.pop_back();
}

}  // namespace vellum
