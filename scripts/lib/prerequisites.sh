# Installs what the build and the tests need on Debian 12 when it is missing: the host compiler
# and CMake, GoogleTest, mingw-w64 for the 32-bit Windows build, Wine (with its 32-bit part, for
# which the i386 architecture is added) and Xvfb. Sourced by the scripts; extra packages may be
# named as arguments.

install_prerequisites() {
    local wanted=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest mingw-w64
                  wine wine32:i386 wine64 xvfb "$@")
    local missing=()
    local package
    for package in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo[@]}" dpkg --add-architecture i386
    fi
    # A mirror in the middle of a sync fails an update now and then; the lists there are may
    # still do, and a later attempt usually succeeds.
    local attempt
    for attempt in 1 2 3; do
        "${sudo[@]}" apt-get update -qq || echo "apt-get update failed (attempt $attempt)"
        if DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" \
               >/dev/null; then
            return 0
        fi
        sleep 10
    done
    return 1
}
