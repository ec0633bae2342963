#include "vellum/FaceFiles.h"

#include <pango/pangofc-font.h>

#include <cstdlib>
#include <filesystem>

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
FaceFilePtr LookUp(PangoContext* system, const FaceKey& key,
                   const std::vector<std::string>& cacheDirs) {
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
      auto made = std::make_shared<FaceFile>(reinterpret_cast<const char*>(file), index, cacheDirs);
      // The file read afresh must have the characters the configuration says.
      if (made->config() != nullptr && made->SameCharacters(charset)) face = std::move(made);
    }
  }
  g_object_unref(font);
  return face;
}

// Text for an XML document: markup characters escaped. Empty when `text`
// cannot stand in one (not UTF-8, control characters).
std::string XmlText(const std::string& text) {
  if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return "";
  std::string out;
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) return "";
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A configuration without rules that knows where the system keeps its
// scans of font folders and takes `file` alone from its folder's scan
// (never the folder's sub-folders); null when there are no such folders or
// the file's name would be a pattern.
FcConfig* ScanConfig(const std::string& file, const std::vector<std::string>& cacheDirs) {
  const std::string glob = XmlText(file);
  if (cacheDirs.empty() || glob.empty() || file.find_first_of("*?") != std::string::npos ||
      std::getenv("FONTCONFIG_SYSROOT") != nullptr) {
    return nullptr;
  }
  std::string xml = "<fontconfig>";
  for (const std::string& dir : cacheDirs) {
    const std::string text = XmlText(dir);
    if (text.empty()) return nullptr;
    xml += "<cachedir>" + text + "</cachedir>";
  }
  xml += "<selectfont><acceptfont><glob>" + glob +
         "</glob></acceptfont><rejectfont><glob>*</glob></rejectfont></selectfont></fontconfig>";
  FcConfig* config = FcConfigCreate();
  if (config != nullptr && !FcConfigParseAndLoadFromMemory(
                               config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcFalse)) {
    FcConfigDestroy(config);
    return nullptr;
  }
  return config;
}

}  // namespace

FaceFile::FaceFile(std::string file, int index, const std::vector<std::string>& cacheDirs)
    : file_(std::move(file)), index_(index) {
  config_ = ScanConfig(file_, cacheDirs);
  if (config_ != nullptr && FromScan()) {
    fromScan_ = true;
    return;
  }
  if (config_ != nullptr) FcConfigDestroy(config_);
  config_ = FcConfigCreate();
  if (FcConfigAppFontAddFile(config_, reinterpret_cast<const FcChar8*>(file_.c_str())) &&
      TakeFace()) {
    return;
  }
  FcConfigDestroy(config_);
  config_ = nullptr;
}

bool FaceFile::FromScan() {
  const std::string folder = std::filesystem::path(file_).parent_path().string();
  const auto* dir = reinterpret_cast<const FcChar8*>(folder.c_str());
  // Without a valid scan, fontconfig would read every file of the folder.
  FcCache* cache = FcDirCacheLoad(dir, config_, nullptr);
  if (cache == nullptr) return false;
  FcDirCacheUnload(cache);
  if (!FcConfigAppFontAddDir(config_, dir)) return false;
  // The folder's one face the glob lets in must be this file's.
  FcFontSet* fonts = FcConfigGetFonts(config_, FcSetApplication);
  FcChar8* found = nullptr;
  return fonts != nullptr && fonts->nfont == 1 &&
         FcPatternGetString(fonts->fonts[0], FC_FILE, 0, &found) == FcResultMatch &&
         file_ == reinterpret_cast<const char*>(found) && TakeFace();
}

bool FaceFile::TakeFace() {
  FcFontSet* fonts = FcConfigGetFonts(config_, FcSetApplication);
  int found = -1;
  FcCharSet* charset = nullptr;
  // A file of several faces (a collection, named instances) would leave the
  // choice among them to a configuration without the system's rules.
  if (fonts == nullptr || fonts->nfont != 1 ||
      FcPatternGetInteger(fonts->fonts[0], FC_INDEX, 0, &found) != FcResultMatch ||
      found != index_ ||
      FcPatternGetCharSet(fonts->fonts[0], FC_CHARSET, 0, &charset) != FcResultMatch) {
    return false;
  }
  charset_ = FcCharSetCopy(charset);
  return true;
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
    if (!known->file.empty()) {
      face = std::make_shared<FaceFile>(known->file, known->index, fonts.CacheDirs());
    }
    if (face != nullptr && face->config() == nullptr) face = nullptr;
  } else {
    face = LookUp(system(), key, systems ? fonts.CacheDirs() : std::vector<std::string>());
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

std::optional<FontCatalog::Metrics> FaceFiles::FindMetrics(const FaceKey& key, int dpi) {
  std::lock_guard<std::mutex> lock(mutex_);
  FollowConfiguration();
  if (configuration_ != nullptr) return std::nullopt;
  return SystemFonts::Process().FindMetrics(key, dpi);
}

void FaceFiles::RecordMetrics(const FaceKey& key, int dpi, const FontCatalog::Metrics& metrics) {
  std::lock_guard<std::mutex> lock(mutex_);
  FollowConfiguration();
  if (configuration_ == nullptr) SystemFonts::Process().RecordMetrics(key, dpi, metrics);
}

}  // namespace vellum
