#!/bin/sh
# Writes a help2man include file with a COMMANDS section: the help text of each of the
# program's subcommands, as the program prints it.
#   man-commands.sh PROGRAM OUTPUT
set -eu
prog="$1"
out="$2"
{
  echo "[COMMANDS]"
  "$prog" --help | awk '/^Subcommands:/ { on = 1; next } /^[A-Za-z]/ { on = 0 } on && /^  [a-z]/ { print $1 }' |
    while read -r sub; do
      echo ".SS $sub"
      echo ".nf"
      "$prog" "$sub" --help | sed -e 's/\\/\\\\/g' -e 's/^\./\\\&./'
      echo ".fi"
    done
} >"$out"
