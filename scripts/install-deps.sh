#!/bin/sh
# Installs everything the IDE, its tests, its Debian package and the bundled tool chains need on
# Debian 12.
set -e
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends \
    g++ cmake ninja-build make \
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools libgl-dev libqscintilla2-qt6-dev \
    gcc-avr avr-libc binutils-avr sdcc gputils \
    libsimavr-dev libelf-dev pkg-config sdcc-ucsim gpsim \
    xvfb xauth imagemagick poppler-utils \
    dpkg-dev file desktop-file-utils shared-mime-info libxml2-utils qt6-translations-l10n \
    clang libclang-rt-14-dev
