# Shared by the end-to-end tests under Wine (sourced, not run): Wine calls,
# bounded waits, checks that count failures, and input at client coordinates.
# The tests run in the prefix of $WINEPREFIX on the display of $DISPLAY.

wine=$(command -v wine64 || command -v /usr/lib/wine/wine64 || command -v wine)
export WINEDEBUG=${WINEDEBUG:--all}
failures=0
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
config=""
config_aside=""

make_work_dir() {
  mktemp -d "${TMPDIR:-/tmp}/morvi-wine.XXXXXX"
}

wine_reg() {
  "$wine" reg "$@" >/dev/null
}

# The default value of a registry key, empty when there is none.
registry_default() {
  "$wine" reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'
}

# winepath, tried three times: it converts a path without looking at the
# disk, so a failure is one of Wine starting it, not of the path.
winepath_retried() {
  local attempt
  for attempt in 1 2 3; do
    if "$wine" winepath "$@" 2>/dev/null; then return 0; fi
    sleep 1
  done
  return 1
}

windows_path() {
  winepath_retried -w "$1" | tr -d '\r'
}

unix_path() {
  winepath_retried -u "$1" | tr -d '\r'
}

wine_temp_dir() {
  "$wine" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r'
}

# The run of scripts/test-windows provides the prefix, the X display and a
# telephone on a pseudo-terminal; without them the tests are skipped.
require_test_run() {
  if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ] || [ -z "${MORVI_TEST_TELEPHONE_PORT:-}" ] ||
    [ -z "${MORVI_TEST_TELEPHONE_LOG:-}" ]; then
    echo "skipped: run scripts/test-windows"
    exit 77
  fi
}

# Moves the configuration file in Wine's temporary folder into the folder
# WORK for the test, which starts without one; restore_configuration puts
# it back. Sets config.
set_configuration_aside() {
  config="$(unix_path "$(wine_temp_dir)")/zudedo.conf"
  config_aside="$1/zudedo.conf.aside"
  if [ -e "$config" ]; then mv "$config" "$config_aside"; fi
}

restore_configuration() {
  [ -n "$config" ] || return 0
  rm -f "$config"
  if [ -e "$config_aside" ]; then mv "$config_aside" "$config"; fi
}

probe() {
  "$wine" "$bin/window-probe.exe" "$@" 2>/dev/null | tr -d '\r'
}

# Succeeds when the probe prints EXPECTED for the remaining arguments.
probe_equals() {
  local expected=$1
  shift
  [ "$(probe "$@")" = "$expected" ]
}

file_equals() {
  cmp -s "$1" <(printf '%s' "$2")
}

not_running() {
  ! kill -0 "$1" 2>/dev/null
}

# Runs the command until it succeeds, for at most 15 seconds.
wait_for() {
  local what=$1
  shift
  local deadline=$((SECONDS + 15))
  until "$@" >/dev/null 2>&1; do
    if [ $SECONDS -ge $deadline ]; then
      echo "FAIL: waited in vain for $what" >&2
      failures=$((failures + 1))
      finish
    fi
    sleep 0.2
  done
  echo "ok: $what"
}

expect_equal() {
  local what=$1 expected=$2 actual=$3
  if [ "$expected" = "$actual" ]; then
    echo "ok: $what"
  else
    echo "FAIL: $what" >&2
    echo "  expected: $(printf '%q' "$expected")" >&2
    echo "  actual:   $(printf '%q' "$actual")" >&2
    failures=$((failures + 1))
  fi
}

# The X window of the top-level window titled TITLE.
x_window() {
  local pattern
  pattern=$(printf '%s' "$1" | sed 's/[][\.*^$?+(){}|]/\\&/g')
  xdotool search --name "^$pattern\$" | head -1
}

# Clicks at X, Y of the main window's client area, whose screen position the
# test has read into client_x and client_y.
click() {
  xdotool mousemove --sync $((client_x + $1)) $((client_y + $2)) click 1
}

# Makes the main window, titled $title, the active window again by clicking
# its caption: without a window manager, Wine leaves no window active when a
# program started from it ends, and that may happen after a first click.
# The clicks are further apart than a double click, which would maximise.
activate_main_window() {
  local attempt
  for attempt in $(seq 10); do
    xdotool mousemove --sync $((client_x + 300)) $((client_y - 10)) click 1
    sleep 0.7
    if probe_equals 1 active "$title"; then
      echo "ok: the main window active again"
      return 0
    fi
  done
  echo "FAIL: the main window stays inactive" >&2
  failures=$((failures + 1))
  finish
}

# Opens the port settings from the main window and waits for the dialog;
# sets dialog_x and dialog_y to its client area's screen position.
open_port_settings() {
  click 161 16 # settings button
  wait_for "the settings dialog" probe client "Einstellungen"
  read -r dialog_x dialog_y _ _ < <(probe client "Einstellungen")
}

# Types PORT into the open settings dialog and confirms it.
enter_port() {
  xdotool mousemove --sync $((dialog_x + 197)) $((dialog_y + 21)) click 1 # port field
  xdotool type --delay 50 "$1"
  wait_for "the typed port" probe_equals "$1" text "Einstellungen" 1277
  xdotool mousemove --sync $((dialog_x + 446)) $((dialog_y + 153)) click 1 # OK
  wait_for "the telephone buttons" probe_equals 1 visible "$title" 1301
}

# Types TEXT into the filter field and waits until the program has taken
# all of it and refreshed the table on its 100 ms timer: a refresh that came
# later would fill the edit fields again while the test types into them.
type_filter() {
  click 316 197
  xdotool type --delay 50 "$1"
  wait_for "the filter $1" probe_equals "$1" text "$title" 1242
  sleep 0.5
}

# Presses KEY in the top-level window titled TITLE.
press_in_window() {
  xdotool windowfocus --sync "$(x_window "$1")" key "$2"
}

finish() {
  if [ "$failures" -eq 0 ]; then
    echo "all checks passed"
    exit 0
  fi
  echo "$failures check(s) failed" >&2
  exit 1
}

not() {
  ! "$@"
}
