#!/usr/bin/env bash
# scripts/setup's decisions against a fake apt-get, dpkg and dpkg-query (no root, no network):
# a package list that cannot be refreshed, 32-bit Wine refused, a required package refused.
set -uo pipefail
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree/scripts" "$work/bin"
cp "$source_dir/scripts/setup" "$work/tree/scripts/setup"
printf '#!/bin/sh\nexit 0\n' > "$work/tree/scripts/runs-32-bit"

cat > "$work/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
command=; packages=()
while [ $# -gt 0 ]; do
  case $1 in -o) shift ;; -*) ;; *) if [ -z "$command" ]; then command=$1; else packages+=("$1"); fi ;; esac
  shift
done
echo "$command ${packages[*]}" >> "$STATE/log"
if [ "$command" = update ] && [ -n "${FAKE_UPDATE_FAILS:-}" ]; then
  echo "E: Failed to fetch http://mirror/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 192.0.2.1 80]"
  echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
  exit 100
fi
if [ "$command" = install ]; then
  for package in "${packages[@]}"; do
    case " ${FAKE_REFUSE:-} " in
      *" wine32:i386 "*) [ "$package" = wine32:i386 ] && { echo "E: Unable to correct problems, you have held broken packages."; exit 100; } ;;
      *" $package "*) echo "E: Package '$package' has no installation candidate"; exit 100 ;;
    esac
  done
  printf '%s\n' "${packages[@]}" >> "$STATE/installed"
fi
FAKE
cat > "$work/bin/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
package=${3:-}
if [ -z "$package" ]; then sed 's/^/ii  /' "$STATE/installed"; exit 0; fi
grep -qx -- "$package" "$STATE/installed" && printf 'install ok installed' || exit 1
FAKE
cat > "$work/bin/dpkg" <<'FAKE'
#!/usr/bin/env bash
case $1 in
  --print-foreign-architectures) cat "$STATE/architectures" ;;
  --add-architecture) echo "$2" >> "$STATE/architectures" ;;
  --remove-architecture) sed -i "/^$2\$/d" "$STATE/architectures" ;;
esac
FAKE
printf '#!/bin/sh\n"$@"\n' > "$work/bin/sudo"
printf '#!/bin/sh\nexit 0\n' > "$work/bin/npm"
chmod +x "$work/bin/"* "$work/tree/scripts/"*

failures=0
fail() { echo "FAIL: $case_name: $*"; failures=$((failures + 1)); }

# Runs setup test with the fake tools; keeps the state unless fresh is asked for.
run_setup() {
  export STATE="$work/state"
  if [ "$1" = fresh ]; then rm -rf "$STATE"; mkdir -p "$STATE"; : > "$STATE/installed"; : > "$STATE/architectures"; fi
  : > "$STATE/log"
  shift
  env "$@" PATH="$work/bin:$PATH" "$work/tree/scripts/setup" test > "$work/out" 2> "$work/err"
  status=$?
}
installed() { grep -qx -- "$1" "$STATE/installed"; }
one_line() {
  [ "$(wc -l < "$work/err")" -eq 1 ] && grep -qF -- "$1" "$work/err" || fail "stderr is not the one line '$1': $(cat "$work/err")"
}

case_name="a list cannot be refreshed"
run_setup fresh FAKE_UPDATE_FAILS=1
[ $status -eq 0 ] || fail "exit status $status"
one_line "setup: the package lists for bookworm-security/main/binary-i386 could not be refreshed (the mirror may be mid-sync); going on with the lists there are"
installed cmake && installed wine32:i386 || fail "not everything was installed"

case_name="32-bit Wine refused"
run_setup fresh FAKE_REFUSE=wine32:i386
[ $status -eq 0 ] || fail "exit status $status"
one_line "setup: 32-bit Wine could not be installed (apt-get: Unable to correct problems, you have held broken packages.); the Windows tests run the x86-64 build under 64-bit Wine instead"
installed chromium && ! installed wine32:i386 || fail "the required packages are not installed alone"
[ ! -s "$STATE/architectures" ] || fail "the i386 architecture stayed behind"

case_name="a re-run on a healthy mirror"
run_setup kept
[ $status -eq 0 ] && [ ! -s "$work/err" ] || fail "exit status $status: $(cat "$work/err")"
[ "$(grep '^install' "$STATE/log")" = "install wine wine32:i386" ] || fail "installed $(grep '^install' "$STATE/log")"

case_name="a required package refused"
run_setup fresh FAKE_REFUSE=chromium
[ $status -ne 0 ] || fail "exit status 0"
one_line "(apt-get: Package 'chromium' has no installation candidate)"
grep -q "^setup: could not install .*chromium" "$work/err" || fail "the packages are not named"
! grep -q wine32 "$STATE/log" || fail "went on to 32-bit Wine"

[ $failures -eq 0 ] && echo "scripts/setup: 4 cases passed"
exit $((failures > 0))
