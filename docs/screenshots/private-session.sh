# Sourced by the screenshot scripts after they set `here`: the user folder, settings and runtime
# folder live in a temporary folder removed at exit, so no script touches the real user's files;
# `bin` is the folder of the built programs (the script's first argument, else ../../build/bin).
bin="$(cd "${1:-$here/../../build/bin}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export GLIMMERIX_HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Starts the window on the album $1 and sets `window` to its X window id once it is shown; the
# window is closed at exit.
start_window() {
  "$bin/glimix" "$1" &
  pid=$!
  trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT
  window=""
  for _ in $(seq 50); do
    window="$(xdotool search --name "^Glimmerix - " 2>/dev/null | head -1 || true)"
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "no window" >&2; exit 1; }
}
