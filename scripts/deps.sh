#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that
# are missing. Sourced by ./run, ./test and ./bench. The fonts are there for
# the Chinese interface, whose texts the tests check fit their controls.
MC_PACKAGES=(
    cmake g++ make python3 pkg-config
    qtbase5-dev libqt5serialport5-dev qttools5-dev-tools qttools5-dev
    fonts-noto-cjk fonts-dejavu-core
    qttranslations5-l10n
)
# qttranslations5-l10n and qt6-translations-l10n: Qt's own texts (the reasons
# in failure lines) in Chinese.
# A virtual display for the window where there is none, and the screenshot
# tools: ./run and docs/screenshots.sh take them, an offscreen suite needs none.
MC_DISPLAY_PACKAGES=(xvfb xauth imagemagick xdotool)
# What a Qt 6 build needs besides (./test --qt6); Qt 6 reads GB18030 through
# ICU, which Debian's Qt 6 is built with, so Core5Compat is not among them.
MC_QT6_PACKAGES=(qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    qt6-translations-l10n)

mc_install_deps() {
    local missing=()
    if command -v dpkg-query >/dev/null 2>&1; then
        local p
        for p in "${MC_PACKAGES[@]}" "$@"; do
            dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
        done
    else
        echo "Not a Debian system: install these packages yourself: ${MC_PACKAGES[*]} $*" >&2
        return 1
    fi
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}
