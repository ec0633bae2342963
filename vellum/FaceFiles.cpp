#include "vellum/FaceFiles.h"

#include <pango/pangofc-font.h>

#include "vellum/SystemFonts.h"

namespace vellum {
namespace {

// The size a face is looked up at: any will do, since a face of its own is
// one scalable file that serves every size.
constexpr int kProbeSize = 12 * PANGO_SCALE;

// Whether the text library prints `font` from its file as it is: no
// synthetic bold or slant, no features or variations applied by the
// configuration's rules, which a configuration without rules would drop.
bool PlainFile(FcPattern* font) {
  FcBool flag = FcFalse;
  if (FcPatternGetBool(font, FC_EMBOLDEN, 0, &flag) == FcResultMatch && flag) return false;
  if (FcPatternGetBool(font, FC_VARIABLE, 0, &flag) == FcResultMatch && flag) return false;
  FcBool scalable = FcFalse;
  if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable) return false;
  FcMatrix* matrix = nullptr;
  if (FcPatternGetMatrix(font, FC_MATRIX, 0, &matrix) == FcResultMatch &&
      (matrix->xx != 1.0 || matrix->xy != 0.0 || matrix->yx != 0.0 || matrix->yy != 1.0)) {
    return false;
  }
  FcChar8* text = nullptr;
  return FcPatternGetString(font, FC_FONT_FEATURES, 0, &text) != FcResultMatch &&
         FcPatternGetString(font, FC_FONT_VARIATIONS, 0, &text) != FcResultMatch;
}

// The font the text library prints `key` with at its first place.
FaceFilePtr LookUp(PangoContext* system, const FaceKey& key) {
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, key.family.c_str());
  pango_font_description_set_weight(description,
                                    key.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description,
                                   key.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_size(description, kProbeSize);
  PangoFont* font = pango_context_load_font(system, description);
  pango_font_description_free(description);
  if (font == nullptr) return nullptr;
  FaceFilePtr face;
  if (PANGO_IS_FC_FONT(font)) {
    FcPattern* pattern = pango_fc_font_get_pattern(PANGO_FC_FONT(font));
    FcChar8* file = nullptr;
    int index = 0;
    FcCharSet* charset = nullptr;
    if (PlainFile(pattern) && FcPatternGetString(pattern, FC_FILE, 0, &file) == FcResultMatch &&
        FcPatternGetInteger(pattern, FC_INDEX, 0, &index) == FcResultMatch &&
        FcPatternGetCharSet(pattern, FC_CHARSET, 0, &charset) == FcResultMatch) {
      auto made = std::make_shared<FaceFile>(reinterpret_cast<const char*>(file), index);
      // The file read afresh must have the characters the configuration says.
      if (made->config() != nullptr && made->SameCharacters(charset)) face = std::move(made);
    }
  }
  g_object_unref(font);
  return face;
}

}  // namespace

FaceFile::FaceFile(std::string file, int index) : file_(std::move(file)), index_(index) {
  config_ = FcConfigCreate();
  const auto* name = reinterpret_cast<const FcChar8*>(file_.c_str());
  FcFontSet* fonts = nullptr;
  FcCharSet* charset = nullptr;
  int found = -1;
  // A file of several faces (a collection, named instances) would leave the
  // choice among them to a configuration without the system's rules.
  if (FcConfigAppFontAddFile(config_, name) &&
      (fonts = FcConfigGetFonts(config_, FcSetApplication)) != nullptr && fonts->nfont == 1 &&
      FcPatternGetInteger(fonts->fonts[0], FC_INDEX, 0, &found) == FcResultMatch &&
      found == index_ &&
      FcPatternGetCharSet(fonts->fonts[0], FC_CHARSET, 0, &charset) == FcResultMatch) {
    charset_ = FcCharSetCopy(charset);
    return;
  }
  FcConfigDestroy(config_);
  config_ = nullptr;
}

bool FaceFile::SameCharacters(const FcCharSet* charset) const {
  return charset_ != nullptr && FcCharSetEqual(charset_, charset);
}

FaceFile::~FaceFile() {
  if (config_ != nullptr) FcConfigDestroy(config_);
  if (charset_ != nullptr) FcCharSetDestroy(charset_);
}

bool FaceFile::Covers(const std::string& utf8) const {
  const char* p = utf8.data();
  const char* end = p + utf8.size();
  while (p < end) {
    const gunichar c = g_utf8_get_char_validated(p, end - p);
    if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) return false;
    p = g_utf8_next_char(p);
    if (c < 0x20 || c == 0x7f) continue;
    if (c >= 0x231a || c == 0x20e3) return false;
    if (!FcCharSetHasChar(charset_, c)) return false;
  }
  return true;
}

FaceFiles& FaceFiles::Process() {
  static FaceFiles faces;
  return faces;
}

FaceFiles::~FaceFiles() {
  if (configuration_ != nullptr) FcConfigDestroy(configuration_);
}

void FaceFiles::FollowConfiguration() {
  SystemFonts& system = SystemFonts::Process();
  FcConfig* current = system.Current();
  if (system.Describes(current)) current = nullptr;
  if (current == configuration_) return;
  faces_.clear();
  if (configuration_ != nullptr) FcConfigDestroy(configuration_);
  configuration_ = current != nullptr ? FcConfigReference(current) : nullptr;
}

FaceFilePtr FaceFiles::Resolve(const FaceKey& key, const std::function<PangoContext*()>& system) {
  std::lock_guard<std::mutex> lock(mutex_);
  FollowConfiguration();
  auto found = faces_.find(key);
  if (found != faces_.end()) return found->second;
  FaceFilePtr face;
  SystemFonts& fonts = SystemFonts::Process();
  const bool systems = configuration_ == nullptr;
  std::optional<FontCatalog::Face> known = systems ? fonts.FindFace(key) : std::nullopt;
  if (known) {
    if (!known->file.empty()) face = std::make_shared<FaceFile>(known->file, known->index);
    if (face != nullptr && face->config() == nullptr) face = nullptr;
  } else {
    face = LookUp(system(), key);
    if (systems) {
      fonts.RecordFace(key, face != nullptr ? FontCatalog::Face{face->file(), face->index()}
                                            : FontCatalog::Face{});
    }
  }
  faces_.emplace(key, face);
  return face;
}

size_t FaceFiles::size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return faces_.size();
}

}  // namespace vellum
