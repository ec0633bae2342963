#pragma once
// The realistic label the batch benchmarks print: a dense 4 x 6 in carrier
// label (text, lines, a reversed service box, a Code 128 and a QR code) whose
// data differs from label to label, written for full ZPL printers. Shared by
// BatchRenderBench (time per label) and LabelMemoryBench (bytes per label).

#include <cstdio>
#include <filesystem>
#include <string>

#include "host/printer/Options.h"

namespace bench {

inline const char* const kNames[] = {"Jana Novak",  "Lukas Meyer", "Sofia Rossi", "Emil Larsen",
                                     "Mia Schmidt", "Noah Dubois", "Lea Wagner",  "Finn Berg"};
inline const char* const kStreets[] = {"Lindenallee 7",  "Hauptstrasse 112", "Am Markt 3",
                                       "Bahnhofweg 45a", "Rosengasse 19",    "Industriering 260"};
inline const char* const kCities[] = {"80331 Muenchen", "10115 Berlin",    "50667 Koeln",
                                      "01067 Dresden",  "70173 Stuttgart", "28195 Bremen"};

// One label designed in 203-dpi dots, every coordinate scaled to `dpi`.
inline std::string CarrierLabel(int n, int dpi) {
  auto d = [dpi](int dots203) { return std::to_string((dots203 * dpi + 101) / 203); };
  auto at = [&](int x, int y) { return "^FO" + d(x) + "," + d(y); };
  auto font = [&](int h, int w) { return "^A0N," + d(h) + "," + d(w); };
  auto rule = [&](int y) { return at(20, y) + "^GB" + d(772) + "," + d(3) + "," + d(3) + "^FS\n"; };
  char tracking[32], route[16];
  std::snprintf(tracking, sizeof tracking, "JJD%013d", 4711000 + n * 37);
  std::snprintf(route, sizeof route, "%02d-%03d", n % 89 + 10, n % 997);
  std::string z = "^XA\n^PW" + d(812) + "^LL" + d(1218) + "\n";
  z += at(20, 20) + "^GB" + d(772) + "," + d(1178) + "," + d(3) + "^FS\n";
  z += at(40, 40) + font(28, 24) + "^FDFROM: Nordkai Versand GmbH^FS\n";
  z += at(40, 75) + font(28, 24) + "^FDHafenstrasse 12, 20457 Hamburg DE^FS\n";
  z += at(40, 110) + font(28, 24) + "^FDTel +49 40 1234567  Account 88120^FS\n";
  z += rule(150);
  z += at(40, 170) + font(32, 28) + "^FDSHIP TO:^FS\n";
  z += at(60, 210) + font(44, 40) + "^FD" + kNames[n % 8] + "^FS\n";
  z += at(60, 262) + font(36, 32) + "^FD" + kStreets[n % 6] + "^FS\n";
  z += at(60, 302) + font(36, 32) + "^FD" + kCities[(n / 6) % 6] + "^FS\n";
  z += at(60, 342) + font(36, 32) + "^FDGERMANY^FS\n";
  z += rule(390);
  z += at(20, 393) + "^GB" + d(250) + "," + d(165) + "," + d(165) + "^FS\n";
  z += at(45, 420) + "^FR" + font(110, 90) + "^FDP" + std::to_string(n % 3 + 1) + "^FS\n";
  z += at(300, 410) + font(44, 40) + "^FDEXPRESS 12:00^FS\n";
  z += at(300, 465) + font(36, 30) + "^FDROUTE " + route + "^FS\n";
  z += at(300, 510) + font(28, 24) + "^FDSORT HUB HAM-2^FS\n";
  z += rule(560);
  z += "^BY" + d(3) + ",3," + d(200) + "\n";
  z += at(60, 590) + "^BCN," + d(200) + ",Y,N,N^FD" + tracking + "^FS\n";
  z += rule(850);
  z += at(40, 875) + "^BQN,2," + d(6) + "^FDQA,https://track.example/" + tracking + "^FS\n";
  z += at(330, 880) + font(28, 24) + "^FDREF: ORDER " + std::to_string(400000 + n) + "^FS\n";
  z += at(330, 920) + font(28, 24) + "^FDWEIGHT: " + std::to_string(n % 30 + 1) + ".4 KG^FS\n";
  z += at(330, 960) + font(28, 24) + "^FDPIECES: 1/1^FS\n";
  z += at(330, 1000) + font(28, 24) + "^FDDIMS: 40 x 30 x 20 cm^FS\n";
  z += at(330, 1040) + "^ADN," + d(18) + "," + d(10) + "^FDShipped 2026-12-07 08:15^FS\n";
  z += rule(1120);
  z += at(40, 1140) + font(24, 20) + "^FDDelivered under the carrier's general terms.^FS\n";
  z += at(40, 1170) + font(24, 20) + "^FDPlease leave the parcel with a neighbour.^FS\n";
  return z + "^XZ\n";
}

// What `labelhost render --zpl full --dpi DPI -f png -q` sets, writing into
// ROOT/out with the store in ROOT/store; the folders are made afresh.
inline host::HostOptions PngRenderOptions(const std::filesystem::path& root, int dpi) {
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "out");
  host::HostOptions options;
  options.command = "render";
  options.dpi = dpi;
  options.zpl = ZplDialect::kFull;  // carriers' systems write for full ZPL printers
  options.store = (root / "store").string();
  options.outDir = (root / "out").string();
  options.formats.png = true;
  options.quiet = true;
  return options;
}

}  // namespace bench
