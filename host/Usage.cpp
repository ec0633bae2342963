#include "host/Options.h"

namespace host {

const char* UsageText() {
  return R"(Usage: labelhost COMMAND [OPTION]... [FILE]...
Runs label-printer jobs through the script engine and writes every printed
label as an image.

Commands:
  render FILE...       feed each FILE (- for standard input) to the printer's
                       intake and print the jobs it holds
  serve                run as a network printer: a raw port, an HTTP API and
                       a live page, printing every job in arrival order
  config-label         print the configuration label (this host's settings)
  font-label           print the font label (one line per font)
  graphics-label       print the graphics label (the pictures in the store)

Output:
  -o, --out DIR        folder for printed labels (default: .)
  -f, --format LIST    png, pdf, json, or a comma-separated mix (default: png)
      --report FORMAT  per-job report on standard output: text or json
                       (JSON: one object per line)
  -q, --quiet          no per-job report
      --progress       progress line on standard error (default: only when
                       standard error is a terminal)

Printer and media:
      --dpi N          printer resolution, 72 to 1200 (default: 300)
      --width INCHES   media width (default: 4)
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

Decisions the printer asks for (print or skip; default: print):
      --on-script-error DECISION     a job reported script errors
      --on-tape-mismatch DECISION    the job needs another tape
      --on-ribbon-mismatch DECISION  the job needs another ribbon

Intake:
      --chunk BYTES    hand each file over in reads of BYTES, the way a slow
                       port delivers it (default: one read per job, cut right
                       after each job's end marker)
      --max-job-input SIZE  the most intake holds for one job; a larger job
                       is discarded and reported (default: 64M)

Limits (0: none; SIZE in bytes, or with K, M or G):
      --max-labels-per-job N     labels one job may write (default: 10000)
      --max-output-per-job SIZE  bytes one job may write (default: 1G)
      --max-labels-per-run N     labels the run may write (default: 100000)
      --max-output-per-run SIZE  bytes the run may write (default: 4G)
      --strict         exit with status 3 when a job had script errors, log
                       lines, refused prints or notes, or printed no label

Network printer (serve):
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

  -h, --help           show this help
  -V, --version        show the version

Labels are never overwritten: a name already taken in the output folder (by
another run, say) is passed over for the next free number.

Exit status: 0 when every file was read and every label written; 1 when a
file could not be read, a label or log line could not be written, a job was
discarded or a limit stopped labels, or the store is not usable; 2 on a bad
command line; 3 with --strict when a job had problems. Script errors are
reported, not fatal.
)";
}

}  // namespace host
