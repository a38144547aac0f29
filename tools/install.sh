#!/usr/bin/env bash
# Builds Glimmerix and installs it into a prefix: ~/.local for a user, /usr/local when run as
# root, or the prefix given (tools/install.sh /opt/glimmerix). Then refreshes the desktop's
# caches under that prefix so the menu entry, the album file type and the icon show at once.
#   tools/install.sh [PREFIX]           build and install
#   tools/install.sh --remove [PREFIX]  remove what the installs into PREFIX put there
# Each prefix keeps its own list of the files installed into it, relative to the prefix, in
# PREFIX/share/glimmerix/install-manifest.txt; --remove deletes exactly those files, the folders
# that are left empty, and the desktop caches when nothing else is left in them.
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
prefix="$(realpath -ms -- "${1:-$default_prefix}")"
manifest="share/glimmerix/install-manifest.txt"
share="$prefix/share"

# Removes the folder of a removed file and its parents while they are empty, up to the prefix.
prune() {
  local dir="$1"
  while [[ $dir == "$prefix"/* ]] && rmdir -- "$dir" 2>/dev/null; do
    dir="$(dirname -- "$dir")"
  done
}

# Whether FOLDER holds a file (other than the caches named after it) matching the find test.
holds() {
  local folder="$1"
  shift
  [ -d "$folder" ] && [ -n "$(find "$folder" -type f "$@" -print -quit)" ]
}

if $remove; then
  [ -f "$prefix/$manifest" ] || {
    echo "install.sh: $prefix/$manifest: no Glimmerix install recorded in $prefix; nothing removed" >&2
    exit 1
  }
  count=0
  while IFS= read -r file || [ -n "$file" ]; do
    # Only paths inside the prefix: a damaged list must not reach outside it.
    [[ -z $file || $file == /* || $file == ../* || $file == */../* ]] && continue
    if [ -L "$prefix/$file" ] || [ -f "$prefix/$file" ]; then
      rm -f -- "$prefix/$file"
      count=$((count + 1))
    fi
    prune "$(dirname -- "$prefix/$file")"
  done < "$prefix/$manifest"
  rm -f -- "$prefix/$manifest"
  prune "$(dirname -- "$prefix/$manifest")"
else
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
  cmake --build "$build" --target glimmerix_installed
  # The files come from cmake's own report of this install (its install_manifest.txt in the
  # build folder is shared by every install from that build, which may run at the same time).
  list="$(mktemp)"
  trap 'rm -f "$list" "$list.log"' EXIT
  cmake --install "$build" --prefix "$prefix" | tee "$list.log"
  while IFS= read -r line; do
    case $line in
      "-- Installing: $prefix/"* | "-- Up-to-date: $prefix/"*)
        # Folders are named too; only files are listed (a folder goes when it is left empty).
        file="${line#*: "$prefix"/}"
        if [ -L "$prefix/$file" ] || [ ! -d "$prefix/$file" ]; then printf '%s\n' "$file"; fi ;;
    esac
  done < "$list.log" > "$list"
  [ -s "$list" ] || { echo "install.sh: cmake --install named no files under $prefix" >&2; exit 1; }
  # An earlier install into the same prefix may have put files there that this one no longer
  # has: its entries are kept while those files exist.
  if [ -f "$prefix/$manifest" ]; then
    while IFS= read -r file || [ -n "$file" ]; do
      if [ -e "$prefix/$file" ]; then printf '%s\n' "$file"; fi
    done < "$prefix/$manifest" >> "$list"
  fi
  printf '%s\n' "$manifest" >> "$list"
  sort -u "$list" > "$prefix/$manifest"
fi

# The caches: made again from what is left, or removed with their folders when nothing is left
# for them to describe (update-mime-database owns everything in share/mime but packages/).
if holds "$share/mime/packages" -name '*.xml'; then
  if command -v update-mime-database >/dev/null; then update-mime-database "$share/mime"; fi
elif $remove && [ -d "$share/mime" ]; then
  rm -rf -- "$share/mime"
  prune "$share"
fi
if holds "$share/applications" -name '*.desktop'; then
  if command -v update-desktop-database >/dev/null; then
    update-desktop-database -q "$share/applications"
  fi
elif $remove && [ -f "$share/applications/mimeinfo.cache" ]; then
  rm -f -- "$share/applications/mimeinfo.cache"
  prune "$share/applications"
fi
icons="$share/icons/hicolor"
if holds "$icons" ! -name index.theme ! -name icon-theme.cache; then
  if command -v gtk-update-icon-cache >/dev/null && [ -f "$icons/index.theme" ]; then
    gtk-update-icon-cache -q -t -f "$icons"
  fi
elif $remove && [ -f "$icons/icon-theme.cache" ]; then
  rm -f -- "$icons/icon-theme.cache"
  prune "$icons"
fi

if $remove; then
  echo "Glimmerix removed from $prefix ($count files)"
else
  echo "Glimmerix installed into $prefix"
  case ":$PATH:" in
    *":$prefix/bin:"*) ;;
    *) echo "Add $prefix/bin to PATH to start glimix from a terminal." ;;
  esac
fi
