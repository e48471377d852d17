#!/usr/bin/env bash
# The checkout's own commands as a user types them, without building anything: on PATH stand a cmake and the
# package tools (apt-get, sudo, dpkg-query, locale-gen) that only write down how they were called and then fail, and
# scripts/run starts a frattix32 that only writes down its arguments.
#   comandi_test.sh <checkout>
set -uo pipefail
root=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

mkdir -p "$tmp/path"
cat >"$tmp/path/cmake" <<EOF
#!/usr/bin/env bash
# The configure's folder (-B) as a full path, then the other arguments, one call a line.
args=()
while [ \$# -gt 0 ]; do
  if [ "\$1" = -B ]; then args+=(-B "\$(realpath -m "\$2")"); shift 2; else args+=("\$1"); shift; fi
done
echo "\${args[*]}" >>"$tmp/cmake.calls"
exit 1
EOF
chmod +x "$tmp/path/cmake"
# What installs: each only writes down that it was called, and fails.
for tool in apt-get sudo dpkg-query locale-gen; do
  printf '#!/bin/sh\necho "%s $*" >>"%s"\nexit 1\n' "$tool" "$tmp/install.calls" >"$tmp/path/$tool"
  chmod +x "$tmp/path/$tool"
done
export PATH="$tmp/path:$PATH"
calls() { cat "$tmp/cmake.calls" 2>/dev/null; rm -f "$tmp/cmake.calls"; }
installs() { cat "$tmp/install.calls" 2>/dev/null; rm -f "$tmp/install.calls"; }
mkdir -p "$tmp/build/bin"
cat >"$tmp/build/bin/frattix32" <<EOF
#!/bin/sh
echo "\$@" >"$tmp/started"
EOF
chmod +x "$tmp/build/bin/frattix32"

# --- scripts/fuzz: anything but a whole number of seconds followed by known targets prints the usage, before any
# build; a target that does not exist is named.
expect_fuzz() {  # <exit code> <text in the output> <arguments...>
  local code=$1 text=$2
  shift 2
  local out got
  out=$("$root/scripts/fuzz" "$@" 2>&1)
  got=$?
  [ "$got" -eq "$code" ] || fail "scripts/fuzz $*: exit code $got, not $code: $out"
  grep -qF -- "$text" <<<"$out" || fail "scripts/fuzz $*: the output lacks \"$text\": $out"
  [ -z "$(calls)" ] || fail "scripts/fuzz $*: it configured a build"
}
usage="scripts/fuzz [seconds [target...]]"
expect_fuzz 0 "$usage" --help
expect_fuzz 0 "targets: aiuto" -h
expect_fuzz 2 "$usage" fronte
expect_fuzz 2 "$usage" 0
expect_fuzz 2 "$usage" 2.5
expect_fuzz 2 "$usage" -- 3
expect_fuzz 2 "no fuzz target \"nonesiste\"" 2 nonesiste
expect_fuzz 2 "no fuzz target \"nonesiste\"" 2 fronte nonesiste
# Right arguments reach the build.
"$root/scripts/fuzz" 2 fronte scheda >/dev/null 2>&1
grep -q -- "-DFRATTIX_FUZZ=ON" <<<"$(calls)" || fail "scripts/fuzz 2 fronte scheda did not configure the build"

# --- Every script of scripts/ and benchmarks/, found in the folders: --help prints its usage, with its own name,
# and ends with 0; an option it does not know is refused with that usage and 2. Neither builds, installs, checks or
# starts anything: every line a refusal prints is a line of the usage or the script's own reason. Besides the
# sources of the benchmark programs, only the helpers that the scripts source or import are no scripts.
helpers="scripts/uso.sh scripts/argomenti.py"
scripts=()
for f in "$root"/scripts/* "$root"/benchmarks/*; do
  name=${f#"$root"/}
  case $name in *.cpp | *.h | */CMakeLists.txt) continue ;; esac
  [[ " $helpers " == *" $name "* ]] && continue
  scripts+=("$name")
done
[ ${#scripts[@]} -ge 12 ] || fail "only ${#scripts[@]} scripts found: ${scripts[*]}"
for name in "${scripts[@]}"; do
  if [ ! -x "$root/$name" ] || [ "$(head -c 2 "$root/$name")" != "#!" ]; then
    fail "$name is neither a script one can run (executable, with its interpreter on its first line) nor a helper"
    continue
  fi
  help=$(cd "$tmp" && FRATTIX_BUILD_DIR="$tmp/build" "$root/$name" --help 2>&1)
  code=$?
  [ "$code" -eq 0 ] || fail "$name --help: exit code $code: $help"
  grep -qF -- "$name" <<<"$help" || fail "$name --help does not name the script: $help"
  out=$(cd "$tmp" && FRATTIX_BUILD_DIR="$tmp/build" "$root/$name" --nonesiste 2>&1)
  code=$?
  [ "$code" -eq 2 ] || fail "$name --nonesiste: exit code $code, not 2: $out"
  grep -qxF -- "$(head -1 <<<"$help")" <<<"$out" || fail "$name --nonesiste does not print the usage: $out"
  while IFS= read -r line; do
    grep -qxF -- "$line" <<<"$help" || [[ $line == "$name: "* ]] ||
      fail "$name --nonesiste went on to print \"$line\""
  done <<<"$out"
  [ -z "$(calls)" ] || fail "$name: --help or a refused option configured a build"
  [ -z "$(installs)" ] || fail "$name: --help or a refused option installed packages"
done
[ ! -e "$tmp/started" ] || fail "a script started frattix32"
out=$("$root/scripts/build" -DFRATTIX_WERROR=ON 2>&1)
[ $? -eq 2 ] && grep -qF "the folder comes before the options" <<<"$out" || fail "scripts/build -DFRATTIX_WERROR=ON: $out"
[ -z "$(calls)" ] && [ ! -e "$root/-DFRATTIX_WERROR=ON" ] || fail "scripts/build -DFRATTIX_WERROR=ON configured a build"
for script in run test setup; do
  out=$(FRATTIX_BUILD_DIR="$tmp/build" "$root/scripts/$script" build 2>&1)
  code=$?
  [ "$code" -eq 2 ] && grep -qF "takes no arguments" <<<"$out" || fail "scripts/$script build: $code $out"
done
for rounds in 0 2.5 "1 2"; do
  out=$("$root/benchmarks/floors.sh" $rounds 2>&1)
  [ $? -eq 2 ] && grep -qF "benchmarks/floors.sh [rounds]" <<<"$out" || fail "floors.sh $rounds: $out"
done
out=$("$root/benchmarks/anteprime.py" 1 "$tmp/nessuna" 2>&1)
[ $? -eq 2 ] && grep -q "holds no frattix32" <<<"$out" || fail "anteprime.py with a folder that is none: $out"
[ -z "$(calls)" ] || fail "a refused argument configured a build"

# --- One tree of the benchmarks: the README's command, floors.sh and startup.py configure build-bench alike.
readme=$(grep -o 'scripts/build build-bench [^&`]*' "$root/README.md" | head -1)
[ -n "$readme" ] || fail "the README has no scripts/build build-bench command"
(cd "$root" && eval "$readme") >/dev/null 2>&1
from_readme=$(calls)
"$root/benchmarks/floors.sh" >/dev/null 2>&1
from_floors=$(calls)
env -u FRATTIX_BENCH_BUILD "$root/benchmarks/startup.py" 1 >/dev/null 2>&1
from_startup=$(calls)
grep -q -- "-DFRATTIX_BENCHMARKS=ON" <<<"$from_readme" || fail "the README's command: $from_readme"
[ "$from_floors" = "$from_readme" ] || fail "floors.sh configures $from_floors, the README $from_readme"
[ "$from_startup" = "$from_readme" ] || fail "startup.py configures $from_startup, the README $from_readme"

# --- scripts/run says what the programs lack before it installs or builds anything: the set-up's package queries
# and installs are written down, as the build is.
for tool in dpkg-query apt-get sudo; do
  printf '#!/bin/sh\necho %s >>"%s/setup.calls"\nexit 1\n' "$tool" "$tmp" >"$tmp/path/$tool"
  chmod +x "$tmp/path/$tool"
done
expect_lacking() {  # <what> <text in the output> <env arguments...>
  local what=$1 text=$2
  shift 2
  local out
  out=$(env "$@" FRATTIX_BUILD_DIR="$tmp/build" XDG_DATA_HOME="$tmp/lacking" "$root/scripts/run" 2>&1)
  local code=$?
  [ "$code" -eq 1 ] && grep -qF -- "$text" <<<"$out" || fail "scripts/run $what: exit code $code, output: $out"
  [ ! -e "$tmp/setup.calls" ] ||
    fail "scripts/run $what: the set-up ran first: $(sort -u "$tmp/setup.calls" | tr "\n" " ")"
  [ -z "$(calls)" ] || fail "scripts/run $what: it configured a build"
  [ ! -e "$tmp/started" ] || fail "scripts/run $what: it started frattix32"
  rm -f "$tmp/setup.calls"
}
expect_lacking "without a display" "there is no display" -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM
expect_lacking "without a display" "xvfb-run scripts/run" -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb
expect_lacking "without HOME" "HOME is not set" -u HOME -u FRATTIX_DRIVE_C DISPLAY=:0
[ ! -e "$tmp/lacking" ] || fail "scripts/run made a data folder before it said what is lacking"
rm -f "$tmp/path/dpkg-query" "$tmp/path/apt-get" "$tmp/path/sudo"

# --- scripts/run copies only the example's files of which nothing stands in the data folder.
data="$tmp/xdg/frattix/esempio"
run() {
  DISPLAY=:0 XDG_DATA_HOME="$tmp/xdg" FRATTIX_RUN_NO_BUILD=1 FRATTIX_BUILD_DIR="$tmp/build" "$root/scripts/run" \
    >/dev/null
}
run || fail "scripts/run on an empty data folder"
for f in "$root"/examples/*; do
  cmp -s "$f" "$data/${f##*/}" || fail "scripts/run did not copy ${f##*/}"
done
[ "$(cat "$tmp/started")" = "$data/esempio.ses" ] || fail "scripts/run started frattix32 with $(cat "$tmp/started")"
# The user deletes the session, edits a sheet, renames another in capitals and leaves a link to nothing in place
# of a third: the session comes back, and every other name stays as the user left it.
rm "$data/esempio.ses"
echo "edited" >"$data/rampa.sch"
mv "$data/gradone4.sch" "$data/GRADONE4.SCH"
rm "$data/fronte_nord.sch"
ln -s "$tmp/nowhere" "$data/fronte_nord.sch"
run || fail "scripts/run on the user's data folder"
cmp -s "$root/examples/esempio.ses" "$data/esempio.ses" || fail "scripts/run did not copy the missing session back"
[ "$(cat "$data/rampa.sch")" = edited ] || fail "scripts/run wrote over the user's rampa.sch"
[ ! -e "$data/gradone4.sch" ] || fail "scripts/run copied gradone4.sch beside the user's GRADONE4.SCH"
[ -L "$data/fronte_nord.sch" ] && [ ! -e "$tmp/nowhere" ] || fail "scripts/run wrote through or over a link"
# A platform of Qt's that needs no display runs without one.
rm -f "$tmp/started"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$tmp/xdg" FRATTIX_RUN_NO_BUILD=1 \
  FRATTIX_BUILD_DIR="$tmp/build" "$root/scripts/run" >/dev/null 2>&1 && [ -e "$tmp/started" ] ||
  fail "scripts/run with QT_QPA_PLATFORM=offscreen did not start frattix32"

# --- scripts/setup installs the word processor with its window where there is none; one without a window stays (it
# serves the tests), and the user is told how to get the window. The packages are asked of a dpkg-query that
# knows those of $tmp/absent as missing, and the installs are written down.
cat >"$tmp/path/dpkg-query" <<FAKE
#!/bin/sh
case " \$(cat "$tmp/absent") " in *" \$3 "*) exit 1 ;; esac
printf 'install ok installed'
FAKE
printf '#!/bin/sh\necho "$*" >>"%s/apt.calls"\n' "$tmp" >"$tmp/path/apt-get"
printf '#!/bin/sh\nexec "$@"\n' >"$tmp/path/sudo"
chmod +x "$tmp/path/dpkg-query" "$tmp/path/apt-get" "$tmp/path/sudo"
echo "libreoffice-writer libreoffice-writer-nogui" >"$tmp/absent"
"$root/scripts/setup" >/dev/null 2>&1 || fail "scripts/setup without a word processor failed"
installs=$(grep -w -- "install" "$tmp/apt.calls" 2>/dev/null)
grep -qw -- "libreoffice-writer" <<<"$installs" && ! grep -q -- "writer-nogui" <<<"$installs" ||
  fail "scripts/setup without a word processor installs: $installs"
rm -f "$tmp/apt.calls"
echo "libreoffice-writer" >"$tmp/absent"
out=$("$root/scripts/setup" 2>&1) || fail "scripts/setup with the word processor without a window failed: $out"
[ ! -e "$tmp/apt.calls" ] || fail "scripts/setup replaced the word processor without a window: $(cat "$tmp/apt.calls")"
grep -qF "apt-get install libreoffice-writer" <<<"$out" || fail "scripts/setup did not say how to get the window: $out"
rm -f "$tmp/path/dpkg-query" "$tmp/path/apt-get" "$tmp/path/sudo"

[ "$failures" -eq 0 ] || exit 1
echo "all commands behave"
