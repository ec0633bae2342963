// The help texts: --help lists every command and option; "help COMMAND" (or
// "COMMAND --help") gives one command's synopsis and the options it uses.
#include <string>

#include "host/printer/Options.h"

namespace host {
namespace {

constexpr const char* kOutput = R"(Output:
  -o, --out DIR        folder for printed labels (default: .)
  -f, --format LIST    png, pdf, json, or a comma-separated mix (default: png);
                       PNG and JSON: one file per label; PDF: one file per
                       job, a page per label, named after its first label
      --report FORMAT  per-job report on standard output: text or json
                       (JSON: one object per line)
  -q, --quiet          no per-job report
      --progress       progress line on standard error (default: only when
                       standard error is a terminal)
)";

constexpr const char* kPrinter = R"(Printer and media (sizes in inches, or millimetres as 100mm):
      --dpi N          printer resolution, 72 to 1200 (default: 300)
      --dpmm N         printer resolution in dots per mm: 8 (203 dpi), 12
                       (300 dpi) or 24 (600 dpi)
      --width SIZE     media width (default: 4)
      --length SIZE    media length: labels without a length of their own
                       are this long (default: continuous media, a label ends
                       a margin below its content)
      --media WxL      width and length at once: 4x6in, 100x150mm, 2x1in ...
      --store DIR      the printer's storage card (default: $LABELHOST_STORE,
                       else ./store); logs go to DIR/Logging, pictures are
                       read from DIR/Graphics
      --tape NAME      installed tape part name
      --ribbon NAME    installed ribbon part name
      --media-rotation FLAGS  installed media flags: 0x20 (45, portrait),
                       0x40 (portrait), 0x80 (turned 180, landscape), 0
                       (landscape)
      --x-offset INCHES, --y-offset INCHES  label offsets
      --font NAME      add a font to the system font list (repeatable)
      --no-system-fonts  list only the --font fonts
      --answer PROMPT=VALUE  answer to a prompted field (repeatable)
      --clock 'YYYY-MM-DD HH:MM:SS'  fix the clock for date fields and logs

Fonts: the face names jobs commonly use (Arial, Helvetica, Times New Roman,
Courier New, Tahoma, Verdana ...) print in their metric-compatible Liberation
and DejaVu faces without remark; any other missing face prints in DejaVu Sans
and is reported once per run.
)";

constexpr const char* kDecisions =
    R"(Decisions the printer asks for (print or skip; default: print):
      --on-script-error DECISION     a job reported script errors
      --on-tape-mismatch DECISION    the job needs another tape
      --on-ribbon-mismatch DECISION  the job needs another ribbon
)";

constexpr const char* kLanguageOptions = R"(Languages:
      --zpl DIALECT    caret-and-tilde jobs: device (default) reads them as
                       this printer does; full prints them as a full ZPL
                       printer would (field typesetting, ^FT, ^FB, ^CI28,
                       ^LH, font 0 and the bitmap fonts, ...)
)";

constexpr const char* kIntake = R"(Intake:
      --chunk BYTES    hand each file over in reads of BYTES, the way a slow
                       port delivers it (default: one read per job, cut right
                       after each job's end marker)
      --max-job-input SIZE  the most intake holds for one job; a larger job
                       is discarded and reported (default: 64M)
      --threads N      render and encode labels on N threads while the next
                       jobs are read; files and reports stay in job order
                       (default: 0, one per core)
)";

constexpr const char* kLimits = R"(Limits (0: none; SIZE in bytes, or with K, M or G):
      --max-labels-per-job N     labels one job may write (default: 10000)
      --max-output-per-job SIZE  bytes one job may write (default: 1G)
      --max-labels-per-run N     labels the run may write (default: 100000)
      --max-output-per-run SIZE  bytes the run may write (default: 4G)
      --max-log-lines-per-job N  lines one job may write to each error log;
                       the rest are counted in one line (default: 1000)
      --max-log-size SIZE  an error log this large is moved aside to one
                       previous generation, X.1.TXT (default: 16M)
      --max-picture-memory SIZE  decoded pictures one label may hold; a
                       picture past it is not drawn (default: 128M)
      --strict         exit with status 3 when a job had script errors, log
                       lines, refused prints or notes, or printed no label
)";

constexpr const char* kNetwork = R"(Network printer (serve):
      --bind ADDRESS   address to listen on (default: 127.0.0.1; anything
                       else opens the printer to the network)
      --port N         raw printer port (default: 9100; 0: any free port;
                       off: none)
      --http N         HTTP API and live page (default: 8080; 0, off: as above)
      --idle-ms MS     a connection quiet this long hands its bytes to the
                       printer (default: 500)
      --timeout-ms MS  drop a client that is silent, or that trickles one
                       read for longer than this (default: 30000)
      --max-job-bytes N  largest read of one connection and largest HTTP
                       body (default: 67108864)
      --header-ms MS   an HTTP request's head must arrive within this of its
                       first byte (default: 10000; its body: --timeout-ms)
      --http-per-address N  HTTP connections one client address may hold
                       (default: 32; more are answered 503)
      --max-streams N  live page feeds open at once (default: 256)
      --grace-ms MS    on SIGTERM or SIGINT, time left to connections in the
                       middle of a job (default: 5000; a second signal: none)
      --forward HOST:PORT  send each job's bytes on to a printer as well,
                       after rendering it
)";

constexpr const char* kGeneral =
    R"(  -h, --help           show this help (help COMMAND: one command's)
  -V, --version        show the version and the libraries it runs with
)";

constexpr const char* kExitStatus = R"(
Labels are never overwritten: a name already taken in the output folder (by
another run, say) is passed over for the next free number.

Exit status: 0 when every file was read and every label written; 1 when a
file could not be read, a label or log line could not be written, a job was
discarded or a limit stopped labels, or the store is not usable; 2 on a bad
command line; 3 with --strict when a job had problems. Script errors are
reported, not fatal.
)";

enum Sections : unsigned {
  kOut = 1,
  kMedia = 2,
  kDecide = 4,
  kFeed = 8,
  kLimit = 16,
  kNet = 32,
  kLang = 64
};

struct CommandHelp {
  const char* name;
  const char* synopsis;  // after "labelhost "
  const char* summary;   // for the list of commands
  const char* about;     // for the command's own help
  unsigned sections;
};

constexpr CommandHelp kHelp[] = {
    {"render", "render [OPTION]... FILE...",
     "render FILE...       feed each FILE (- for standard input) to the printer's\n"
     "                       intake and print the jobs it holds\n",
     "Feeds each FILE (- for standard input) to the printer's intake, prints the\n"
     "jobs it holds into the output folder and reports on each job.\n",
     kOut | kMedia | kDecide | kFeed | kLang},
    {"watch", "watch [OPTION]... FILE...",
     "watch FILE...        render each FILE, then again each time it is saved\n",
     "Renders each FILE, then again each time it is saved, printing the report\n"
     "of every render; the printer keeps its state from render to render, as a\n"
     "real one does. Files that do not exist yet are rendered once they appear.\n"
     "Stop with Ctrl-C.\n",
     kOut | kMedia | kDecide | kFeed | kLang},
    {"serve", "serve [OPTION]...",
     "serve                run as a network printer: a raw port, an HTTP API and\n"
     "                       a live page of the labels printed\n",
     "Runs as a network printer: jobs sent to the raw port or posted to the HTTP\n"
     "API are printed and shown on the live page. The editor page (/edit)\n"
     "previews a job as you type it, through the render interface label tools\n"
     "call (/v1/printers/8dpmm/labels/4x6/0/); a preview prints nothing.\n"
     "Stop with Ctrl-C.\n",
     kOut | kMedia | kDecide | kLimit | kNet | kLang},
    {"lint", "lint [OPTION]... FILE...",
     "lint FILE...         check each FILE's jobs: their script errors and what\n"
     "                       would print wrong, with lines and columns\n",
     "Runs each FILE's jobs as render does, writing no labels (--out and --format\n"
     "are not used), and reports their script errors and warnings (what the\n"
     "engine changed or could not do: a substituted font, a missing picture,\n"
     "barcode data refused or changed, a label left open), each with its line\n"
     "and column where known.\n"
     "Exit status: 0 when clean, 3 when a job had script errors, 1 when it had\n"
     "warnings and --warnings-as-errors is given (or a file could not be read).\n"
     "      --warnings-as-errors  exit with status 1 on warnings\n",
     kOut | kMedia | kFeed | kLang},
    {"config-label", "config-label [OPTION]...",
     "config-label         print the configuration label (this host's settings)\n",
     "Prints the configuration label: this host's settings.\n", kOut | kMedia | kDecide},
    {"font-label", "font-label [OPTION]...",
     "font-label           print the font label (each font's name in the font\n"
     "                       and in a readable face)\n",
     "Prints the font label: one line per font, its name in the font itself and\n"
     "beside it in a readable face.\n",
     kOut | kMedia},
    {"graphics-label", "graphics-label [OPTION]...",
     "graphics-label       print the graphics label (the pictures in the store)\n",
     "Prints the graphics label: the names of the pictures in the store's\n"
     "Graphics folder.\n",
     kOut | kMedia},
    {"help", "help [COMMAND]", "help [COMMAND]       show this help, or one command's\n",
     "Shows the help of labelhost, or of one COMMAND.\n", 0},
};

std::string Sections(unsigned sections) {
  std::string text;
  for (const auto& [bit, section] :
       {std::pair{kOut, kOutput}, std::pair{kMedia, kPrinter}, std::pair{kDecide, kDecisions},
        std::pair{kFeed, kIntake}, std::pair{kLimit, kLimits}, std::pair{kNet, kNetwork},
        std::pair{kLang, kLanguageOptions}}) {
    if (sections & bit) text += std::string("\n") + section;
  }
  return text;
}

std::string AllCommands() {
  std::string text =
      "Usage: labelhost COMMAND [OPTION]... [FILE]...\n"
      "Runs label-printer jobs through the script engine and writes every printed\n"
      "label as an image.\n\nCommands:\n";
  for (const CommandHelp& help : kHelp) text += std::string("  ") + help.summary;
  return text + Sections(kOut | kMedia | kDecide | kFeed | kLimit | kNet | kLang) + "\n" +
         kGeneral + kExitStatus;
}

}  // namespace

std::string UsageText(const std::string& command) {
  for (const CommandHelp& help : kHelp) {
    if (command != help.name) continue;
    return std::string("Usage: labelhost ") + help.synopsis + "\n" + help.about +
           Sections(help.sections) + "\n" + kGeneral + kExitStatus;
  }
  return AllCommands();
}

}  // namespace host
