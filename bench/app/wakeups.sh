#!/usr/bin/env bash
# Wake-ups of the whole program: voluntary context switches a minute over all
# its threads (from /proc), idle, with one deck and with two decks playing a
# three-minute MP3, SECONDS each (default 20), in a private X server on a
# private JACK server (256-frame periods). The program's JACK process thread
# wakes once a period whatever the program does; it is printed apart, as the
# floor every JACK client pays.
# Usage: bench/app/wakeups.sh BUILD [SECONDS]   (BUILD holds app/vorlan and
# bench/set/set_tracks)
set -uo pipefail
cd "$(dirname "$0")/../.."
build=$(cd "$1" && pwd)
seconds=${2:-20}
out=$build/wakeups
rm -rf "$out"; mkdir -p "$out"
"$build/bench/set/set_tracks" "$out/music" 1 180 >/dev/null || exit 1
printf 'track0.mp3\ntrack0.mp3\n' >"$out/music/two.m3u"

source scripts/session.sh
trap session_stop EXIT
# No window manager: openbox takes Ctrl+Alt+arrows, the keys that load the
# playlist's next song onto a deck.
session_start "$out"
session_program "$out" "$build/app/vorlan" "$out/music/two.m3u" ||
    { echo "the main window did not show"; exit 1; }

# "thread-id name switches" for every thread of the program.
switches() {
    local t
    for t in /proc/$program_pid/task/*; do
        echo "${t##*/} $(awk '/^voluntary_ctxt_switches/ { print $2 }' "$t/status" 2>/dev/null)"
    done | sort
}
jack_thread() { # the thread with the most switches: the JACK process thread
    join <(echo "$1") <(echo "$2") | awk '{ d = $3 - $2; if (d > m) { m = d; t = $1 } } END { print t }'
}
measure() {
    local before after
    before=$(switches); sleep "$seconds"; after=$(switches)
    join <(echo "$before") <(echo "$after") | awk -v s="$seconds" -v what="$1" -v jack="$(jack_thread "$before" "$after")" \
        '{ d = $3 - $2; all += d; if ($1 == jack) j = d }
         END { printf "%-10s %8.0f wake-ups a minute (JACK process thread %6.0f, the rest %6.0f)\n", what, all * 60 / s, j * 60 / s, (all - j) * 60 / s }'
}
key() { xdotool windowfocus --sync "$main_window" key "$1"; sleep 1; }
measure idle
key ctrl+alt+Left; key q; sleep 2
measure "one deck"
key ctrl+alt+Right; key p; sleep 2
measure "two decks"
figure() { awk -v k="$1" '$1 == k { print $2 }' "$out/output.txt" 2>/dev/null; }
sleep 10 # the program's next output report
echo "engine underruns: $(figure stream_underruns)"
