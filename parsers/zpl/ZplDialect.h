#pragma once
// Which caret-and-tilde language a ZPL job is read in. The host chooses it and
// the session hands it to the parser factory, which makes a CZPLParser for
// the device dialect and a ZPLFullParser for the full one.
//
//   kDevice: this printer's own language, exactly as the printer reads it
//            (the default: jobs print as they do on the device).
//   kFull:   what a full ZPL printer does with the same job: field
//            typesetting, field blocks, encodings, label home and more.

enum class ZplDialect { kDevice, kFull };
