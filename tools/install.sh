#!/usr/bin/env bash
# Builds Glimmerix and installs it into a prefix: ~/.local for a user, /usr/local when run as
# root, or the prefix given (tools/install.sh /opt/glimmerix). Then refreshes the desktop's
# caches under that prefix so the menu entry, the album file type and the icon show at once.
#   tools/install.sh [PREFIX]           build and install
#   tools/install.sh --remove [PREFIX]  remove what the last install put there
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GLIMMERIX_BUILD_DIR:-$root/build}"
remove=false
if [ "${1:-}" = "--remove" ]; then
  remove=true
  shift
fi
default_prefix="$HOME/.local"
[ "$(id -u)" -eq 0 ] && default_prefix=/usr/local
prefix="${1:-$default_prefix}"

if $remove; then
  manifest="$build/install_manifest.txt"
  [ -f "$manifest" ] || { echo "install.sh: $manifest: nothing installed from this build" >&2; exit 1; }
  while IFS= read -r file || [ -n "$file" ]; do
    [[ $file == "$prefix"/* ]] && rm -f -- "$file"
  done < "$manifest"
  for folder in lib/glimmerix share/glimmerix share/doc/glimmerix; do
    [ -d "$prefix/$folder" ] && find "$prefix/$folder" -depth -type d -empty -delete
  done
else
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
  cmake --build "$build" --target glimmerix_installed
  cmake --install "$build" --prefix "$prefix"
fi

share="$prefix/share"
if command -v update-mime-database >/dev/null && [ -d "$share/mime/packages" ]; then
  update-mime-database "$share/mime"
fi
if command -v update-desktop-database >/dev/null && [ -d "$share/applications" ]; then
  update-desktop-database -q "$share/applications"
fi
if command -v gtk-update-icon-cache >/dev/null && [ -f "$share/icons/hicolor/index.theme" ]; then
  gtk-update-icon-cache -q -t -f "$share/icons/hicolor"
fi
$remove && echo "Glimmerix removed from $prefix" || echo "Glimmerix installed into $prefix"
case ":$PATH:" in
  *":$prefix/bin:"*) ;;
  *) $remove || echo "Add $prefix/bin to PATH to start glimix from a terminal." ;;
esac
