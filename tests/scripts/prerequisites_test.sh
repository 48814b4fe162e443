#!/usr/bin/env bash
# Tests of the prerequisites' installation (scripts/lib/prerequisites.sh) against stand-ins for
# apt-get, dpkg, dpkg-query, sudo and sleep that play the package system's answers: lists that
# agree, a first attempt that fails because the architectures' lists disagree, and a failure
# that remains. Nothing here touches the machine's package system.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
release=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
release=${release:-bookworm}

fakes=$(mktemp -d)
trap 'rm -rf "$fakes"' EXIT

cat >"$fakes/apt-get" <<'FAKE'
#!/usr/bin/env bash
# Plays apt-get: records each call; "update" fails when FAKE_UPDATE_FAILS is set; a real
# installation takes the next outcome of FAKE_OUTCOMES (ok or broken; ok once they run out);
# a simulation (-s) fails for the packages in FAKE_BROKEN.
echo "apt-get $*" >>"$FAKE_CALLS"
case " $* " in
  *" update "*)
    [ -n "${FAKE_UPDATE_FAILS:-}" ] && {
        echo "E: Failed to fetch .../i386/Packages.xz  File has unexpected size (375 != 380)."
        exit 100; }
    exit 0 ;;
  *" -s "*)
    for package in $FAKE_BROKEN; do
        case " $* " in *" $package "*)
            echo "The following packages have unmet dependencies:"
            echo " $package : Depends: libz1g:i386 (= 1:1.2.13.dfsg-1) but it is not installable"
            echo "E: Unable to correct problems, you have held broken packages."
            exit 100 ;;
        esac
    done
    exit 0 ;;
esac
count=$(grep ' install ' "$FAKE_CALLS" | grep -vc ' -s ')
outcome=$(cut -d' ' -f"$count" <<<"$FAKE_OUTCOMES ")
if [ "$outcome" = broken ]; then
    echo "The following packages have unmet dependencies:"
    echo " wine32:i386 : Depends: libz1g:i386 (= 1:1.2.13.dfsg-1) but it is not installable"
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100
fi
exit 0
FAKE
cat >"$fakes/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
package=${!#}
case " $FAKE_INSTALLED " in *" $package "*) printf 'install ok installed' ;; *) exit 1 ;; esac
FAKE
cat >"$fakes/dpkg" <<'FAKE'
#!/usr/bin/env bash
echo "dpkg $*" >>"$FAKE_CALLS"
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
FAKE
printf '#!/usr/bin/env bash\n"$@"\n' >"$fakes/sudo"
printf '#!/usr/bin/env bash\necho "sleep $*" >>"$FAKE_CALLS"\n' >"$fakes/sleep"
chmod +x "$fakes"/*

all=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest mingw-w64 wine wine32:i386 wine64
     xvfb locales)
failures=0
check() {  # description, then a command that must succeed
    local description=$1
    shift
    if "$@"; then
        echo "ok    $description"
    else
        echo "FAIL  $description"
        failures=$((failures + 1))
    fi
}

# Runs install_prerequisites in a shell of its own with the stand-ins first on PATH; sets
# output, status and calls.
run() {
    export FAKE_CALLS=$fakes/calls
    : >"$FAKE_CALLS"
    output=$(PATH="$fakes:$PATH" bash -c "source '$top/scripts/lib/prerequisites.sh'; install_prerequisites" 2>&1)
    status=$?
    calls=$(<"$FAKE_CALLS")
}
installs() { grep ' install ' <<<"$calls" | grep -vc ' -s '; }
has() { grep -qF -- "$2" <<<"$1"; }
lacks() { ! grep -qF -- "$2" <<<"$1"; }
lines_with() { grep -cF -- "$2" <<<"$1"; }

echo "== everything installed"
FAKE_INSTALLED="${all[*]}" FAKE_OUTCOMES="" FAKE_BROKEN="" FAKE_UPDATE_FAILS="" run
check "succeeds" test "$status" -eq 0
check "asks apt nothing and says nothing" test -z "$calls$output"

echo "== the lists agree"
FAKE_INSTALLED="cmake ninja-build g++ libgtest-dev libgmock-dev googletest mingw-w64 wine xvfb locales" \
    FAKE_OUTCOMES="ok" FAKE_BROKEN="" FAKE_UPDATE_FAILS="" run
check "succeeds" test "$status" -eq 0
check "installs only what is missing, in one plain attempt" \
    test "$(grep ' install ' <<<"$calls")" = "apt-get install -y -qq wine32:i386 wine64"
check "says no word of a fallback" lacks "$output" "installing the versions of"

echo "== one architecture's list cannot be read, the plain attempt fails"
FAKE_INSTALLED="" FAKE_OUTCOMES="broken ok" FAKE_BROKEN="" FAKE_UPDATE_FAILS=1 run
check "succeeds" test "$status" -eq 0
check "tries plainly, then the point release alone" test "$(installs)" -eq 2
check "the fallback names the point release as target" \
    has "$(grep ' install ' <<<"$calls" | tail -n 1)" "install -y -qq -t $release cmake"
check "says so in one line" test "$(lines_with "$output" "installing the versions of $release")" -eq 1
check "reports the unreadable list and goes on" has "$output" "could not read every package list"
check "never asks apt to downgrade or edits a source" lacks "$calls" "allow-downgrades"
check "no retry was needed" lacks "$calls" "sleep"

echo "== a failure that remains"
FAKE_INSTALLED="cmake ninja-build g++ libgtest-dev libgmock-dev googletest mingw-w64 xvfb locales" \
    FAKE_OUTCOMES="broken broken broken broken broken broken" FAKE_BROKEN="wine32:i386" \
    FAKE_UPDATE_FAILS="" run
check "fails" test "$status" -ne 0
check "three rounds of both attempts, with a pause between rounds" \
    test "$(installs)" -eq 6 -a "$(grep -c '^sleep' <<<"$calls")" -eq 2
check "names the package apt cannot install" has "$output" "  wine32:i386:"
check "with apt's own reason" has "$output" "wine32:i386 : Depends: libz1g:i386"
check "and apt's error" has "$output" "E: Unable to correct problems, you have held broken packages."
check "not the packages that install" lacks "$output" "  wine64:"

echo "== a failure of all together, though each installs alone"
FAKE_INSTALLED="" FAKE_OUTCOMES="broken broken broken broken broken broken" FAKE_BROKEN="" \
    FAKE_UPDATE_FAILS="" run
check "fails" test "$status" -ne 0
check "says that each installs alone, with apt's answer to all" \
    has "$output" "apt's answer to all of them together:"
check "quotes that answer" has "$output" "you have held broken packages"

[ "$failures" -eq 0 ] && echo "all passed" || echo "$failures failed"
[ "$failures" -eq 0 ]
