#pragma once
// The JSON the HTTP API and the live page show for printed jobs: the job
// report as `--report json` writes it, with the files named as in the output
// folder, plus links to each label's files.

#include <string>
#include <vector>

#include "host/serve/PrintQueue.h"

namespace host {

// One job: {"source":..., ..., "links":[{"label":N,"png":"/labels/N.png",...}]}
std::string JobJson(const PrintedJob& job);

// An HTTP answer: {"jobs":[...],"labels":[links...],"log":[...]} over every
// job of one request.
std::string RequestJson(const std::vector<PrintedJob>& jobs);

}  // namespace host
