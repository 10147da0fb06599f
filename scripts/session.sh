# The real program in a private X server, its sound going to a private JACK
# server (dummy driver, 44.1 kHz, 256-frame periods), with a home of its own;
# sourced by scripts that try the program from outside (unattended-set,
# bench/app/wakeups.sh).
#   session_start OUT [--wm]   X server (and openbox with --wm) and JACK;
#                              their logs go to OUT
#   session_program OUT ARGS   the program with ARGS; sets $program_pid and,
#                              once its main window shows (first-run file
#                              types window closed), $main_window
#   session_stop               ends all of them
# Leaves DISPLAY and JACK_DEFAULT_SERVER exported for xdotool and JACK tools.

session_pids=()

session_start() {
    local out=$1 wm=${2:-}
    unset VORLAN_AUDIO QT_QPA_PLATFORM # the real output and a real X server
    local n=$((100 + RANDOM % 100))
    while [ -e /tmp/.X$n-lock ]; do n=$((100 + RANDOM % 100)); done
    export DISPLAY=:$n JACK_DEFAULT_SERVER=vorlan$$ JACK_NO_START_SERVER=1
    Xvfb "$DISPLAY" -screen 0 1280x800x24 >"$out/xvfb.log" 2>&1 &
    session_pids+=($!)
    jackd --no-realtime -d dummy -r 44100 -p 256 >"$out/jackd.log" 2>&1 &
    session_pids+=($!)
    sleep 2
    if [ "$wm" = --wm ]; then
        openbox >"$out/openbox.log" 2>&1 &
        session_pids+=($!)
        sleep 1
    fi
}

session_program() {
    local out=$1
    shift
    mkdir -p "$out/home"
    HOME="$out/home" VORLAN_REGISTRY="$out/registry.db" VORLAN_OUTPUT_REPORT="$out/output.txt" \
        XDG_DATA_HOME="$out/home/.local/share" XDG_CONFIG_HOME="$out/home/.config" \
        QT_QPA_PLATFORM=xcb "$@" >"$out/program.log" 2>&1 &
    program_pid=$!
    session_pids+=($program_pid)
    sleep 4
    # The first start offers the file types: closed.
    local associate
    associate=$(xdotool search --onlyvisible --name '^Associate Music files' | head -1)
    [ -n "$associate" ] && xdotool mousemove --window "$associate" 321 13 click 1 && sleep 1
    main_window=$(xdotool search --onlyvisible --name '^Vorlan$' | head -1)
    xdotool mousemove 0 0
    [ -n "$main_window" ]
}

session_stop() {
    local p
    for p in "${session_pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    session_pids=()
}
