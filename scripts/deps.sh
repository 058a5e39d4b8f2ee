# Shared by the set-up scripts: installs whatever Debian packages are missing.
# Sourced, not run.

quimbra_as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# Earlier versions of scripts/windows-qt wrote deb-src entries of their own
# under /etc/apt, which can conflict with the system's and then break every
# apt-get: take them away again while they hold nothing but such entries.
quimbra_forget_old_sources() {
    local old
    for old in /etc/apt/sources.list.d/quimbra-source.list /etc/apt/sources.list.d/quimbra-source.sources; do
        [ -f "$old" ] || continue
        if ! grep -Ev '^[[:space:]]*(deb-src[[:space:]]|#|$)' "$old" |
            grep -Ev '^(Types: deb-src|URIs:|Suites:|Components:|Signed-By:|Architectures:)' >/dev/null; then
            echo "== removing $old, which an earlier version of scripts/windows-qt left"
            quimbra_as_root rm -f "$old"
        fi
    done
}

# quimbra_install PACKAGE...: installs the packages that are not installed yet.
quimbra_install() {
    local missing=()
    local p
    quimbra_forget_old_sources
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        echo "== all ${#} packages already installed"
        return 0
    fi
    echo "== installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if [ ! -f /tmp/.quimbra-apt-updated ]; then
        quimbra_as_root apt-get update -qq
        touch /tmp/.quimbra-apt-updated 2>/dev/null || true
    fi
    # Lists from an earlier run may have gone stale (a package replaced on the
    # mirror): then once more with fresh ones.
    quimbra_as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" || {
        quimbra_as_root apt-get update -qq
        quimbra_as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
    }
}

# What building and playing needs.
QUIMBRA_BUILD_PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
    qt6-translations-l10n fonts-liberation2 fontconfig
    # Reading aloud: Qt's speech module through Speech Dispatcher, with
    # espeak-ng's Italian voice. Its CMake files need Qt's QML integration,
    # which Debian's qt6-speech-dev does not pull in.
    qt6-speech-dev libqt6texttospeech6 qt6-speech-speechd-plugin qt6-declarative-dev
    speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
)
# What the tests need on top.
QUIMBRA_TEST_PACKAGES=(
    googletest libgtest-dev xvfb xauth clang libclang-rt-14-dev clang-format
    desktop-file-utils appstream
    # The Debian package: its library dependencies (dpkg-shlibdeps, with
    # `file`, which CPack's Debian generator needs for them) and Debian's
    # checker of packages.
    dpkg-dev file lintian
    # The end-to-end tests: synthetic input, D-Bus, the accessibility bus and
    # Debian's python3 with its AT-SPI binding.
    xdotool dbus at-spi2-core python3 python3-pyatspi
    # The Windows pass (scripts/test-windows): cross compiler, Debian's Qt
    # source tools, the SVG renderer and icon packer for the pictures, the
    # installer and zip makers, Wine with Windows-like fonts, and a window
    # manager, keys and screenshots for the game played under Wine; the MSI
    # package's builder and tools, and the signer with the OpenSSL that makes
    # the test's throwaway certificate.
    g++-mingw-w64-x86-64-posix wine64 librsvg2-bin icoutils nsis zip unzip
    fonts-wine fonts-dejavu-core openbox x11-utils x11-xkb-utils imagemagick
    wixl msitools osslsigncode openssl
)
# What the benchmark (bench/run.sh) needs on top.
QUIMBRA_BENCH_PACKAGES=(
    libxcb1-dev xvfb xauth xdotool
)

# The tests check that numbers read the same under an Italian locale, whose
# decimal separator is a comma; make sure one exists.
quimbra_italian_locale() {
    if locale -a 2>/dev/null | grep -qi '^it_IT\.utf-\?8$'; then
        return 0
    fi
    quimbra_install locales
    echo "== generating the it_IT.UTF-8 locale"
    quimbra_as_root localedef -i it_IT -f UTF-8 it_IT.UTF-8
}

# The tests run in one known locale, whatever the caller's (a root shell of a
# minimal system or a CI runner often has none): without a UTF-8 one, Wine
# cannot name a file with an accented letter, and Qt's dialogs would speak
# the caller's language. C.UTF-8 is part of every Debian's C library.
quimbra_test_locale() {
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    unset LANGUAGE
}
