# Installs what the build and the tests need on Debian 12 when it is missing: the host compiler
# and CMake, GoogleTest, mingw-w64 for the 32-bit Windows build, Wine (with its 32-bit part, for
# which the i386 architecture is added), Xvfb, and the locale data from which a test makes a
# Japanese locale. Sourced by the scripts; extra packages may be named as arguments.
#
# Wine's 32-bit part is a multi-arch package: every library it shares with the 64-bit side must
# have the same version on amd64 and i386. A mirror that serves one architecture's package list
# of a suite stale (the security suite's i386 list, say, while its amd64 list is new) makes apt
# pick newer amd64 versions whose i386 twins it cannot see, and the installation fails with
# "held broken packages". The point release alone (apt-get -t <codename>) offers the same versions
# on both architectures, so that is the fallback. Nothing in the package sources is edited, and
# apt never downgrades an installed package for a target release.

prerequisites_sudo=()

# apt-get with the output kept in the file named first; its status is apt's.
prerequisites_apt() {
    local log=$1
    shift
    "${prerequisites_sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "$@" >"$log" 2>&1
}

# The lines of an apt log that say why it failed.
prerequisites_reason() {
    sed -n -e '/unmet dependencies/,$p' -e '/^E: /p' "$1" | grep -v '^$' | awk '!seen[$0]++' |
        head -n 25 | sed 's/^/      /'
}

# Which of the packages apt cannot install, each with apt's reason, found by simulating each
# installation on its own (nothing is installed by a simulation). last_log: apt's answer to the
# last attempt with all of them.
prerequisites_report() {
    local release=$1 last_log=$2
    shift 2
    local log package failed=()
    log=$(mktemp)
    echo "Cannot install the prerequisites. Packages that apt cannot install, with its reasons:"
    for package in "$@"; do
        if ! prerequisites_apt "$log" install -s -y -t "$release" "$package"; then
            failed+=("$package")
            echo "  $package:"
            prerequisites_reason "$log"
        fi
    done
    if [ ${#failed[@]} -eq 0 ]; then
        # Each installs alone, so they fail only together (or apt failed for another reason).
        echo "  each of $* installs on its own; apt's answer to all of them together:"
        prerequisites_reason "$last_log"
    fi
    rm -f "$log"
}

install_prerequisites() {
    local wanted=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest mingw-w64
                  wine wine32:i386 wine64 xvfb locales "$@")
    local missing=()
    local package
    for package in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    prerequisites_sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        prerequisites_sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${prerequisites_sudo[@]}" dpkg --add-architecture i386
    fi
    local release
    release=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
    release=${release:-bookworm}

    local log attempt
    log=$(mktemp)
    # A mirror in the middle of a sync fails an update now and then; the lists it could read may
    # still do, and a later attempt usually succeeds.
    for attempt in 1 2 3; do
        if ! prerequisites_apt "$log" update -qq; then
            echo "apt-get update could not read every package list (attempt $attempt); going on" \
                 "with the lists it read"
        fi
        if prerequisites_apt "$log" install -y -qq "${missing[@]}"; then
            rm -f "$log"
            return 0
        fi
        echo "The plain installation failed (the package lists may disagree between" \
             "architectures); installing the versions of $release alone, which agree on both."
        if prerequisites_apt "$log" install -y -qq -t "$release" "${missing[@]}"; then
            rm -f "$log"
            return 0
        fi
        [ "$attempt" -lt 3 ] && sleep 10
    done
    prerequisites_report "$release" "$log" "${missing[@]}"
    rm -f "$log"
    return 1
}
