#!/usr/bin/env bash
# Builds the Debian package (Release, in build-package/), checks what it holds,
# unpacks it into a throw-away root and runs the programs from there: the
# command line on the bundled example and the window offscreen. Then it
# validates the installed desktop entry and AppStream metainfo.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

scripts/install-deps.sh

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok: $1"; }
fail() { failed=$((failed + 1)); echo "FAILED: $1" >&2; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# Debian's hardening flags, as a Debian build would use them.
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
cppflags=$(dpkg-buildflags --get CPPFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVELTRANE_GUI=ON -DVELTRANE_BENCH=OFF -DVELTRANE_SANITIZE=OFF \
  -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
# Only what the package holds; the tests are built and run by scripts/test.sh.
cmake --build build-package -j"$(nproc)" --target veltrane veltrane-cli veltrane-lsp veltrane_man_pages
rm -f build-package/veltrane_*.deb
(cd build-package && cpack -G DEB >/dev/null)

debs=(build-package/veltrane_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "no single veltrane_*.deb" >&2; exit 1; }
deb=$repo/${debs[0]}
echo "Package: $deb"

work=$(mktemp -d)
window=""
cleanup() {
  [ -n "$window" ] && kill "$window" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# --- the package's fields and contents ---
check "package name" test "$(dpkg-deb -f "$deb" Package)" = veltrane
check "package version is the project's" \
  grep -q "project(Veltrane VERSION $(dpkg-deb -f "$deb" Version) " CMakeLists.txt
depends=$(dpkg-deb -f "$deb" Depends)
check "depends on the Qt web view" grep -q libqt6webenginewidgets6 <<<"$depends"
check "has a maintainer" test -n "$(dpkg-deb -f "$deb" Maintainer)"
check "has a section" test "$(dpkg-deb -f "$deb" Section)" = devel
app=io.github.veltrane.Veltrane
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/contents"
for path in /usr/bin/veltrane /usr/bin/veltrane-cli /usr/bin/veltrane-lsp \
  /usr/share/veltrane/index.htm /usr/share/veltrane/rules.txt /usr/share/veltrane/htmldata/bkg.gif \
  /usr/share/veltrane/htmldata/codebox.gif /usr/share/veltrane/htmldata/fwtype.gif \
  /usr/share/applications/$app.desktop /usr/share/metainfo/$app.metainfo.xml \
  /usr/share/icons/hicolor/scalable/apps/$app.svg \
  /usr/share/icons/hicolor/48x48/apps/$app.png \
  /usr/share/icons/hicolor/256x256/apps/$app.png \
  /usr/share/man/man1/veltrane-cli.1.gz /usr/share/man/man1/veltrane.1.gz \
  /usr/share/man/man1/veltrane-lsp.1.gz \
  /usr/share/doc/veltrane/copyright /usr/share/doc/veltrane/changelog.gz; do
  check "holds $path" grep -qxF "$path" "$work/contents"
done
if command -v lintian >/dev/null; then
  # Only errors and warnings fail; lintian's notes on running as root go too.
  if lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1; then
    pass "lintian"
  else
    cat "$work/lintian" >&2
    fail "lintian"
  fi
fi
# apt resolves the package's dependencies the way `apt-get install ./x.deb` would.
check "apt-get can install it" apt-get install --simulate -qq "$deb"

# --- unpacked into a throw-away root ---
root=$work/root
dpkg -x "$deb" "$root"
cli=$root/usr/bin/veltrane-cli

check "installed files are readable by all" \
  test -z "$(find "$root" ! -perm -a+r -print -quit)"
check "man page unpacks" sh -c "gzip -dc '$root/usr/share/man/man1/veltrane-cli.1.gz' | grep -q '^\.SH EXIT STATUS'"

set +e
"$cli" --help >"$work/help.out" 2>"$work/help.err"
status=$?
set -e
check "veltrane-cli --help exits 0" test "$status" -eq 0
check "veltrane-cli --help prints the usage" grep -q '^Usage: veltrane-cli ' "$work/help.out"

set +e
"$cli" --no-such-option >/dev/null 2>"$work/usage.err"
status=$?
set -e
check "veltrane-cli with a bad option exits 2" test "$status" -eq 2
check "... and says on standard error where the usage is" grep -q '^Run with --help for more information\.$' "$work/usage.err"

# The report must match the one the tests expect, with the example's folder
# in its links written the way the report writes it.
# On Linux the links keep the path as it is; the expected page is written
# with Windows' backslashes.
game=$repo/examples/game
GAME=$game perl -pe 's/\\/\//g; s/\@GAME\@/$ENV{GAME}/g' \
  tests/app/expected/game_results.htm >"$work/expected.htm"
set +e
"$cli" --root "$repo/examples/BlitzMax" --html "$work/r.htm" "$game/game.bmx" \
  >"$work/run.out" 2>"$work/run.err"
status=$?
set -e
check "veltrane-cli on the example exits 0" test "$status" -eq 0
check "... prints the suggested framework" grep -qx 'Framework BRL.GLMax2D' "$work/run.out"
check "... names the main file" grep -qx 'Main Source: game.bmx' "$work/run.out"
check "... says where the report went" grep -qF "Report written to $work/r.htm" "$work/run.err"
check "... writes the expected report" cmp -s "$work/expected.htm" "$work/r.htm"

# The installed language server answers a whole session over its pipes:
# initialize, shutdown, exit, each message framed as the protocol says.
lsp_message() { printf 'Content-Length: %d\r\n\r\n%s' "${#1}" "$1"; }
{
  lsp_message '{"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}}'
  lsp_message '{"jsonrpc":"2.0","method":"initialized","params":{}}'
  lsp_message '{"jsonrpc":"2.0","id":2,"method":"shutdown"}'
  lsp_message '{"jsonrpc":"2.0","method":"exit"}'
} >"$work/lsp.in"
set +e
timeout 20 "$root/usr/bin/veltrane-lsp" <"$work/lsp.in" >"$work/lsp.out" 2>"$work/lsp.err"
status=$?
set -e
check "veltrane-lsp ends a session with exit 0" test "$status" -eq 0
check "... and answers initialize with its capabilities" grep -q '"capabilities"' "$work/lsp.out"

# The window, offscreen, given the example at start. It looks for its help
# page beside itself, where the package does not put it (it is in
# /usr/share/veltrane), so an error box is up first; SIGTERM closes the box,
# and the example is examined and its report written on the way out.
# The sandbox is left alone: as root the program must turn it off itself.
printf '%s\r\n' "$repo/examples/BlitzMax" >"$root/usr/bin/vt.ini"
QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
  env -u QTWEBENGINE_DISABLE_SANDBOX "$root/usr/bin/veltrane" "$game/game.bmx" \
  >"$work/window.out" 2>"$work/window.err" &
window=$!
# Up means it handles SIGTERM (bit 15 of SigCgt); sooner, the signal would kill it.
handles_term() {
  local mask
  mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$window/status" 2>/dev/null) || return 1
  [ -n "$mask" ] && (((16#$mask >> 14) & 1))
}
# Asks the window to close and waits for it; its exit status goes to $status.
stop_window() {
  kill -TERM "$window" 2>/dev/null || true
  set +e
  wait "$window"
  status=$?
  set -e
  window=""
}
for _ in $(seq 1 120); do
  handles_term && break
  kill -0 "$window" 2>/dev/null || break
  sleep 0.5
done
check "the window starts" handles_term
sleep 2
check "the window stays up" kill -0 "$window"
if [ "$(id -u)" -eq 0 ]; then
  check "as root the window says it turned the sandbox off" \
    grep -qx "veltrane: running as root, so the web view's sandbox is off" "$work/window.err"
fi
stop_window
check "the window closes on SIGTERM with exit 0" test "$status" -eq 0
check "the window wrote the expected report" \
  cmp -s "$work/expected.htm" "$root/usr/bin/results.htm"
check "... and kept the program among the recent ones beside it" \
  grep -qxF "$game/game.bmx" "$root/usr/bin/recent.txt"
if [ "$failed" -ne 0 ]; then
  echo "--- window's standard error ---" >&2
  tail -20 "$work/window.err" >&2
fi

# --- installed where the user cannot write ---
# Without vt.ini beside it and with bin/ read-only, the programs keep vt.ini
# and results.htm in the user's data folder ($XDG_DATA_HOME/veltrane) and the
# window reads its help page from share/veltrane. bin/ is made read-only by a
# read-only bind mount in a mount namespace of the program's own (as root;
# otherwise in a user namespace too), so nothing outside sees it and there is
# nothing to undo; root could write through mere permission bits.
bin=$root/usr/bin
rm -f "$bin/vt.ini" "$bin/results.htm" "$bin/recent.txt" "$bin/window.ini"
# readonly_bin COMMAND...: becomes COMMAND with bin/ read-only (it execs, so
# call it in a subshell, whose pid is then the command's).
readonly_bin() {
  local namespaces=(--mount)
  [ "$(id -u)" -eq 0 ] || namespaces=(--map-root-user --mount)
  exec unshare "${namespaces[@]}" sh -c \
    'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && shift && exec "$@"' \
    sh "$bin" "$@"
}
as_user() { export HOME=$work/home XDG_DATA_HOME=$work/xdg; }
data=$work/xdg/veltrane
mkdir -p "$work/home" "$data" "$work/here"
printf '%s\r\n' "$repo/examples/BlitzMax" >"$data/vt.ini"

if ! (readonly_bin sh -c "! touch '$bin/probe' 2>/dev/null"); then
  rm -f "$bin/probe"
  fail "bin/ could not be made read-only (unshare and mount are needed)"
else
  # The command line takes its root folder from the user's vt.ini...
  set +e
  (cd "$work/here" && as_user && readonly_bin "$cli" "$game/game.bmx") \
    >"$work/ro.out" 2>"$work/ro.err"
  status=$?
  set -e
  check "read-only bin/: veltrane-cli reads vt.ini from the user's data folder" \
    grep -qx 'Framework BRL.GLMax2D' "$work/ro.out"
  check "... and exits 0" test "$status" -eq 0
  # ...but a copy whose folder takes files is portable and looks only beside itself.
  set +e
  (cd "$work/here" && as_user && exec "$cli" "$game/game.bmx") >/dev/null 2>"$work/rw.err"
  status=$?
  set -e
  check "writable bin/: veltrane-cli ignores the user's vt.ini" test "$status" -eq 3
  check "... and tries the default root folder" grep -qF "$work/home/BlitzMax" "$work/rw.err"

  # The window examines its argument at start-up, right after showing the
  # help page; a missing page would hold it in an error box until SIGTERM, so
  # a report written while the window is left alone shows that it found one.
  (cd "$work/here" && as_user && unset QTWEBENGINE_DISABLE_SANDBOX &&
    export QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu &&
    readonly_bin "$bin/veltrane" "$game/game.bmx") \
    >"$work/ro-window.out" 2>"$work/ro-window.err" &
  window=$!
  report_written() { cmp -s "$work/expected.htm" "$data/results.htm"; }
  for _ in $(seq 1 120); do
    report_written && break
    kill -0 "$window" 2>/dev/null || break
    sleep 0.5
  done
  check "read-only bin/: the window shows the help page from share/veltrane and writes its report in the data folder" \
    report_written
  stop_window
  check "... and closes on SIGTERM with exit 0" test "$status" -eq 0
  for picture in bkg.gif codebox.gif fwtype.gif; do
    check "... copied $picture beside its report" \
      cmp -s "$root/usr/share/veltrane/htmldata/$picture" "$data/htmldata/$picture"
  done
  check "... left bin/ as installed" \
    test -z "$(find "$bin" -mindepth 1 ! -name veltrane ! -name veltrane-cli ! -name veltrane-lsp -print -quit)"
  if [ "$failed" -ne 0 ]; then
    echo "--- read-only window's standard error ---" >&2
    tail -20 "$work/ro-window.err" >&2
  fi
fi

# --- the desktop files as installed ---
# Its hints leave the exit code at 0, so any output counts as a failure too.
desktop_report=$(desktop-file-validate "$root/usr/share/applications/$app.desktop" 2>&1) &&
  [ -z "$desktop_report" ] && pass "desktop-file-validate" ||
  { echo "$desktop_report" >&2; fail "desktop-file-validate"; }
check "appstreamcli validate" \
  appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml"

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
