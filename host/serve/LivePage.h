#pragma once
// The live page: one static HTML file with its CSS and script, built into
// the program so that serving it needs no files beside the binary.

namespace host {

const char* LivePageHtml();

}  // namespace host
