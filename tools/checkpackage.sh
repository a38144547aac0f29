#!/usr/bin/env bash
# Checks the Debian package on this machine (CI runs it from tools/test.sh; it needs root and
# changes the installed packages): builds and lints it, installs it with apt, runs the installed
# glimix-cli, removes it, and fails when the removal leaves any of its files behind.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
deb="$("$root/tools/makedeb.sh" "$work")"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "$deb" >/dev/null
dpkg-query -L glimmerix > "$work/files"
glimix-cli --version
$SUDO apt-get -o DPkg::Lock::Timeout=600 purge -y -q glimmerix >/dev/null
left=()
while IFS= read -r path; do
  # Folders the package shares with others (/usr/bin, /usr/share/icons/...) stay, its own go.
  if [ -f "$path" ] || [ -L "$path" ]; then
    left+=("$path")
  elif [ -d "$path" ] && [[ $path == */glimmerix || $path == */glimmerix/* ]]; then
    left+=("$path")
  fi
done < "$work/files"
if ((${#left[@]})); then
  printf 'checkpackage: left behind after removal: %s\n' "${left[@]}" >&2
  exit 1
fi
echo "checkpackage: installed, ran and removed cleanly: $(basename "$deb")"
