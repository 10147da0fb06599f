# Debian packages the project needs; sourced by the other scripts.
# librsvg2-bin draws the icon's pixel sizes; desktop-file-utils checks the
# desktop entry in the tests; dpkg-dev finds the package's dependencies;
# xvfb, openbox, xdotool and the X utilities run the window checks in a
# private X server with a window manager; appstream validates the metainfo;
# libxcb1-dev gives the windows the screen's colormap on X11.
# libtag1-dev reads and writes the tags of FLAC, AIFF, M4A, Ogg and Opus songs;
# flac (metaflac) and python3-mutagen tag test files as other programs do.
# imagemagick cuts the window checks' screen captures and counts their colours;
# jack-capture records the unattended set (scripts/unattended-set).
# librubberband-dev time-stretches a key-locked deck.
# libsndfile1-dev and libmp3lame-dev write recordings (WAV, FLAC, MP3);
# libasound2-dev reaches MIDI controllers through the ALSA sequencer.
# libqm-dsp-dev finds tempo and beats, libebur128-dev loudness (track analysis).
# sox and ffmpeg (ffprobe) read a cut-short recording back in the tests, as
# other programs would; lame encodes the analysis benchmark's MP3s;
# libasound2-plugins gives the PortAudio test its four-channel ALSA card.
VORLAN_PACKAGES=(
    build-essential cmake pkg-config git
    qt6-base-dev libgl-dev libxcb1-dev
    libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
    libsamplerate0-dev librubberband-dev portaudio19-dev libsqlite3-dev libtag1-dev flac python3-mutagen
    libsndfile1-dev libmp3lame-dev libasound2-dev libqm-dsp-dev libebur128-dev
    sox ffmpeg lame
    jackd2 libjack-jackd2-dev libasound2-plugins
    libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    fonts-dejavu-core
    librsvg2-bin desktop-file-utils dpkg-dev
    xvfb openbox xdotool x11-utils x11-apps appstream imagemagick jack-capture
)

# Installs whatever of VORLAN_PACKAGES is missing; quiet, and does nothing when all are present.
vorlan_install_packages() {
    local missing=()
    for p in "${VORLAN_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    # jackd2 asks whether to let the audio group use real-time priority; no
    # (the tests ask for it, and get it only where the system already allows it).
    echo "jackd2 jackd2/realtime-priority boolean false" | $sudo debconf-set-selections 2>/dev/null || true
    $sudo apt-get update -qq >/dev/null
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
