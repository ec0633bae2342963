#include "vellum/LayoutCache.h"

#include <functional>

namespace vellum {
namespace {

void SetFont(PangoLayout* layout, const LayoutSpec& spec) {
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, spec.family.c_str());
  pango_font_description_set_weight(font, spec.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(font, spec.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_size(font, spec.size);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  if (spec.lineSpacing != 0.0f) pango_layout_set_line_spacing(layout, spec.lineSpacing);
}

void SetAttributes(PangoLayout* layout, const LayoutSpec& spec) {
  if (!spec.underline && !spec.letterSpaced) return;
  PangoAttrList* attrs = pango_attr_list_new();
  if (spec.underline) {
    pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  }
  if (spec.letterSpaced) {
    pango_attr_list_insert(attrs, pango_attr_letter_spacing_new(spec.letterSpacing));
  }
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);
}

void SetWrapping(PangoLayout* layout, const LayoutSpec& spec) {
  if (spec.width < 0) return;
  pango_layout_set_width(layout, spec.width);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_justify(layout, spec.justify ? TRUE : FALSE);
  pango_layout_set_indent(layout, spec.indent);
}

PangoLayout* Ref(PangoLayout* layout) { return static_cast<PangoLayout*>(g_object_ref(layout)); }

void Mix(size_t& seed, size_t value) {
  seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

}  // namespace

void GObjectUnref::operator()(void* object) const {
  if (object != nullptr) g_object_unref(object);
}

LayoutPtr MakeLayout(PangoContext* context, const LayoutSpec& spec) {
  LayoutPtr layout(pango_layout_new(context));
  // Up to the first NUL, as the text always went to pango.
  pango_layout_set_text(layout.get(), spec.text.c_str(), -1);
  SetFont(layout.get(), spec);
  SetAttributes(layout.get(), spec);
  pango_layout_set_alignment(layout.get(), spec.alignment);
  SetWrapping(layout.get(), spec);
  return layout;
}

size_t LayoutCache::SpecHash::operator()(const LayoutSpec* spec) const {
  size_t seed = std::hash<std::string>()(spec->text);
  Mix(seed, std::hash<std::string>()(spec->family));
  Mix(seed, static_cast<size_t>(spec->size));
  Mix(seed, static_cast<size_t>(spec->width));
  Mix(seed, static_cast<size_t>(spec->letterSpacing));
  Mix(seed, static_cast<size_t>(spec->indent));
  Mix(seed, std::hash<float>()(spec->lineSpacing));
  Mix(seed, static_cast<size_t>(spec->alignment));
  Mix(seed, (spec->bold ? 1u : 0u) | (spec->italic ? 2u : 0u) | (spec->underline ? 4u : 0u) |
                (spec->letterSpaced ? 8u : 0u) | (spec->justify ? 16u : 0u));
  return seed;
}

LayoutPtr LayoutCache::Get(PangoContext* context, const LayoutSpec& spec) {
  Refresh(context);
  auto found = index_.find(&spec);
  if (found != index_.end()) {
    entries_.splice(entries_.begin(), entries_, found->second);
    return LayoutPtr(Ref(found->second->layout.get()));
  }
  LayoutPtr layout = MakeLayout(context, spec);
  if (BytesOf(spec) <= kMaxEntryTextBytes) Insert(spec, layout);
  return layout;
}

void LayoutCache::Clear() {
  index_.clear();
  entries_.clear();
  textBytes_ = 0;
}

// A context whose settings or font map changed lays text out differently:
// what was made in it before no longer answers for a spec.
void LayoutCache::Refresh(PangoContext* context) {
  const uint32_t serial = pango_context_get_serial(context);
  if (context == context_ && serial == serial_) return;
  Clear();
  context_ = context;
  serial_ = serial;
}

void LayoutCache::Insert(const LayoutSpec& spec, const LayoutPtr& layout) {
  const size_t bytes = BytesOf(spec);
  while (!entries_.empty() &&
         (entries_.size() >= kMaxEntries || textBytes_ + bytes > kMaxTextBytes)) {
    DropOldest();
  }
  entries_.push_front(Entry{spec, LayoutPtr(Ref(layout.get()))});
  index_.emplace(&entries_.front().spec, entries_.begin());
  textBytes_ += bytes;
}

void LayoutCache::DropOldest() {
  textBytes_ -= BytesOf(entries_.back().spec);
  index_.erase(&entries_.back().spec);
  entries_.pop_back();
}

}  // namespace vellum
