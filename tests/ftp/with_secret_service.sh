#!/bin/sh
# Runs a command beside a secret service of its own: the caller starts this
# under dbus-run-session. The keyring daemon keeps its keyrings in a fresh
# folder, whose "login" keyring is the default one and is unlocked with a
# throw-away password, so nothing asks a person; it ends with the session bus.
set -e
data="$(mktemp -d)"
trap 'rm -rf "$data"' EXIT
mkdir -p "$data/keyrings"
printf 'login' > "$data/keyrings/default"
export XDG_DATA_HOME="$data"
eval "$(printf 'sealbook-test' | gnome-keyring-daemon --unlock --components=secrets 2>/dev/null)"
export GNOME_KEYRING_CONTROL
export XDG_CURRENT_DESKTOP=GNOME
"$@"
