#pragma once
// The editor page: one static HTML file with its CSS and script, built into
// the program like the live page. It edits a job with line numbers, renders
// it through the render interface as the user types, lists the reports'
// script errors and warnings with their positions, and prints through
// POST /print. RenderApi serves it at /edit.

namespace host {

const char* EditorPageHtml();

}  // namespace host
