#!/bin/sh
# Installs what velinor needs to build, run and test on Debian 12 (or a close relative), then
# makes sure ImageMagick may read PDF for the current user. Safe to run again: it only installs
# what is missing. Works as root, or as a user who has sudo.
set -eu

# qt6-translations-l10n gives Qt's own dialogs the user's language; desktop-file-utils and
# appstream check the menu entry and metainfo; dpkg-dev (with file) gives the package Debian's
# build flags and lets CPack find its library dependencies. procps gives the reliability suite
# pgrep, to find the running converters, strace lets it see that no program forks before its
# exec, and exfat-fuse and exfatprogs give it the exFAT file system of memory cards, which ignores
# letter case. man-db and python3-debian check the manual pages and the copyright file that the
# package ships. libarchive-dev, and libarchive13 to run, write the .cbz.tns archives, which
# unzip lets the tests read.
PACKAGES="cmake ninja-build g++ make pkg-config procps strace exfat-fuse exfatprogs \
qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools \
imagemagick ghostscript xvfb xauth fonts-dejavu-core time \
qt6-translations-l10n desktop-file-utils appstream dpkg-dev file man-db python3-debian \
libarchive-dev libarchive13 unzip"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    echo "velinor: installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then
        as_root=""
    elif command -v sudo >/dev/null 2>&1; then
        as_root="sudo"
    else
        echo "velinor: these packages are missing and neither root nor sudo is available:$missing" >&2
        exit 1
    fi
    $as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    # shellcheck disable=SC2086
    $as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi

"$(dirname "$0")/pdf-policy.sh"
