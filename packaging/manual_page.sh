#!/bin/sh
# A program's manual page from its own --help, named after the program's file:
#   manual_page.sh PROGRAM SUMMARY OUT.1.gz
# help2man would take the page's name from the first words of --version ("Kel2CH Manager 2.2.5.5"
# would make a page called "Kel2CH"), so it is given only the version number.
set -eu
program=$1 summary=$2 out=$3
# --help and --version answer without a display; none must be reached from a build.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
version=$("$program" --version | awk 'NR == 1 { print $NF }')
help2man --no-info --no-discard-stderr --section=1 --version-string="$version" --name="$summary" \
  --output="${out%.gz}" "$program"
gzip -9 -n -f "${out%.gz}"
