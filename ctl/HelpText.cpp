#include "ctl/HelpText.h"

namespace m7410 {

std::string helpText() {
    return R"(Usage: m7410-ctl [options] COMMAND [ARGUMENTS]

Controls an M_7410 loudspeaker processor without a window: the unit on USB when it is
plugged in, else the serial port given with --port, else the last serial port of the system.

Commands:
  status                    link, current preset number and name, the 20 preset names, "Bass +"
  backup FILE               read the 20 presets into a 20-group file (as the window saves it)
  restore FILE              write a 20-group file into the 20 presets, then read them back and
                            compare (--no-verify skips the read-back)
  save-current FILE         save the unit's current set into a one-group file
  load-current FILE         load a one-group file into the unit's current set
  recall N                  make preset N (1..20) the current set
  store N NAME              store the current set as preset N under NAME (1 to 15 characters)
  get PATH                  print one parameter; "get high" a whole channel, "get high.eq2"
                            one band, "get all" every parameter
  set PATH VALUE            set one parameter; the value is snapped to the unit's table and
                            the value set is printed
  eq-import CHANNEL FILE    put the filters of an Equalizer APO or REW filter text into the
                            channel's six EQ bands, printing requested and snapped values and
                            the largest difference (--dry-run: only print, no unit needed)
  eq-export CHANNEL         print the channel's six EQ bands as Equalizer APO text
  show FILE                 the preset names of a one-group or 20-group file, no unit needed
                            (with --json every parameter too)
  diff FILE [FILE2]         the parameters in which FILE2, or the unit, differs from FILE:
                            path, old and new value
  batch [-f FILE]           run the commands of FILE or standard input, one a line, over one
                            link, printing each result; stops at the first failure unless
                            --keep-going

  eq-fit CHANNEL MEASUREMENT
                            fit the channel's six EQ bands to a measurement (text export,
                            .frd or CSV) on the unit's own tables and put them on the unit;
                            prints the bands, the RMS error before, with fit-then-round and
                            after, and the largest error (--dry-run: only print, no unit needed)
  serve                     hold the unit without a window and serve it to other programs
                            until SIGINT or SIGTERM (see "Sharing a unit" in the README)
  watch                     print the unit's changes as they come (--json: one object a line)
  list                      the units served by this user's programs, with their owners, and
                            the ports given with --port

A FILE of "-" is standard input (restore, load-current, eq-import, show, diff) or standard
output (backup, save-current).

Options:
  --port PATH               add PATH as the last serial port (the one opened without USB)
  --demo                    use a simulated unit instead of hardware
  --json                    print every result, errors included, as one JSON object a line;
                            an error is {"error": {"kind": ..., "message": ...}}
  -q, --quiet               no progress bar (there is one only on a terminal)
  --no-verify               restore without reading the presets back
  --direct                  open the unit itself; fails while another program serves it
                            (without it, commands go through that program)
  --unit ID                 the served unit ID (as list shows it), through its owner
  --all                     status, recall N, backup DIR on every served unit (backup: one
                            file DIR/ID.m7410 per unit)
  -f, --file FILE           batch: read the commands from FILE
  --keep-going              batch: run the lines after a failed one too
  --dry-run                 eq-import, eq-fit: show what the unit would get, change nothing
  --target FILE             eq-fit: the target (house curve) in the same formats; default flat
  --from HZ, --to HZ        eq-fit: the range fitted and measured (default 20 .. 20000)
  --max-boost DB            eq-fit: the largest boost of a band, 0 .. 12 (default 6)
  --cut-only                eq-fit: no band boosts
  --keep 1,2                eq-fit: bands left as they are (with --dry-run: the start set's)
  -h, --help                show this text
  -v, --version             show the version

Parameter paths: CHANNEL.FIELD, CHANNEL one of main, high, middle, low.
  high|middle|low: gain (dB), mute (on|off), polarity (+|-), delay (ms),
                   hpf.freq, lpf.freq (Hz), hpf.type, lpf.type (12db-Bworth .. 24db-Bessel,
                   on high also 48db-Bworth, 48db-LR, 48db-Bessel),
                   limiter.threshold (dBu), limiter.attack, limiter.release (ms),
                   eq1..eq6 .type (PEQ|LS6|HS6), .freq (Hz), .gain (dB), .q
  main:            volume (dB or mute), polarity, delay, hpf.*, lpf.* (up to 24db-Bessel),
                   eq1..eq6 .*

Exit status: 0 done (diff too, whether or not there are differences), 1 the unit or a file
failed and nothing was written (one line on standard error), 2 the command line is wrong,
3 written but the read-back differs, 4 stopped by a signal part-way through. A batch exits
with its first failure's status.

Examples:
  m7410-ctl status
  m7410-ctl backup show-2026.m7410 && m7410-ctl --port /dev/ttyUSB0 restore show-2026.m7410
  m7410-ctl recall 3
  m7410-ctl set high.eq2.freq 50        # prints high.eq2.freq = 49.6 Hz
  m7410-ctl --json get all
  m7410-ctl eq-import main room-correction.txt --dry-run
  m7410-ctl diff show-2026.m7410            # what changed on the unit since the backup
  printf 'set high.eq1.gain -3\nset high.eq2.gain -2\n' | m7410-ctl batch
  m7410-ctl eq-fit high room.txt --from 20 --to 400 --dry-run --json
)";
}

} // namespace m7410
