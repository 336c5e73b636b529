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
  store N NAME              store the current set as preset N under NAME (up to 15 characters)
  get PATH                  print one parameter; "get all" prints every parameter
  set PATH VALUE            set one parameter; the value is snapped to the unit's table and
                            the value set is printed
  eq-import CHANNEL FILE    put the filters of an Equalizer APO or REW filter text into the
                            channel's six EQ bands, printing requested and snapped values and
                            the largest difference (--dry-run: only print, no unit needed)
  eq-export CHANNEL         print the channel's six EQ bands as Equalizer APO text
  serve                     hold the unit without a window and serve it to other programs
                            until SIGINT or SIGTERM (see "Sharing a unit" in the README)
  watch                     print the unit's changes as they come (--json: one object a line)
  list                      the units served by this user's programs, with their owners, and
                            the ports given with --port

Options:
  --port PATH               add PATH as the last serial port (the one opened without USB)
  --demo                    use a simulated unit instead of hardware
  --json                    print the result as JSON (status, get, set, backup, restore, ...)
  --no-verify               restore without reading the presets back
  --direct                  open the unit itself; fails while another program serves it
                            (without it, commands go through that program)
  --unit ID                 the served unit ID (as list shows it), through its owner
  --all                     status, recall N, backup DIR on every served unit (backup: one
                            file DIR/ID.m7410 per unit)
  --dry-run                 eq-import: show what the unit would get, change nothing
  -h, --help                show this text
  -v, --version             show the version

Parameter paths: CHANNEL.FIELD, CHANNEL one of main, high, middle, low.
  high|middle|low: gain (dB), mute (on|off), polarity (+|-), delay (ms),
                   hpf.freq, lpf.freq (Hz), hpf.type, lpf.type (12db-Bworth .. 48db-Bessel),
                   limiter.threshold (dBu), limiter.attack, limiter.release (ms),
                   eq1..eq6 .type (PEQ|LS6|HS6), .freq (Hz), .gain (dB), .q
  main:            volume (dB or mute), polarity, delay, hpf.*, lpf.*, eq1..eq6 .*

Exit status: 0 done, 1 the unit or a file failed (one line on standard error),
2 the command line is wrong.

Examples:
  m7410-ctl status
  m7410-ctl backup show-2026.m7410 && m7410-ctl --port /dev/ttyUSB0 restore show-2026.m7410
  m7410-ctl recall 3
  m7410-ctl set high.eq2.freq 50        # prints high.eq2.freq = 49.6 Hz
  m7410-ctl --json get all
  m7410-ctl eq-import main room-correction.txt --dry-run
)";
}

} // namespace m7410
