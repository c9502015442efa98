# Shared by the project's scripts: installs the Debian packages that are
# missing.  Usage: source scripts/lib/packages.sh; install_missing NAME...
# A name with ":arch" is checked for that architecture, a plain name for this
# machine's (a plain name is ambiguous once a foreign architecture has it too).

# What the browser tests of the image settings page run on.
BROWSER_TEST_PACKAGES=(chromium chromium-driver python3-selenium)

sns_as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

sns_is_installed() {
    dpkg -s "$1" >/dev/null 2>&1 && return 0
    [[ $1 == *:* ]] && return 1
    dpkg -s "$1:$(dpkg --print-architecture)" >/dev/null 2>&1
}

install_missing() {
    local missing=() p
    for p in "$@"; do
        sns_is_installed "$p" || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}"
    # A mirror in the middle of a sync fails one index now and then; the
    # install says whether that matters.
    sns_as_root apt-get update -qq || echo "warning: some package indexes were not refreshed" >&2
    export DEBIAN_FRONTEND=noninteractive
    sns_as_root apt-get install -y -qq "${missing[@]}"
}

# Lets apt install packages of another architecture (e.g. armhf).
add_foreign_architecture() {
    if ! dpkg --print-foreign-architectures | grep -x "$1" >/dev/null; then
        sns_as_root dpkg --add-architecture "$1"
    fi
}
