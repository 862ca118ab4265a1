#!/bin/sh
# The disc's autostart for freedesktop desktops (they ask the user before running it): starts the
# menu built for this machine with the disc as its root and passes its own arguments on.
PATH=${PATH:-/usr/bin:/bin}
export PATH
disc=$(cd "$(dirname "$0")" && pwd -P) || exit 1
case "$(uname -m)" in
  x86_64 | amd64)
    exec "$disc/cdmenu" --root "$disc" "$@"
    ;;
esac
echo "autorun.sh: the menu on this disc runs on x86_64 Linux and on Windows; $(uname -m) is not among them." >&2
exit 1
