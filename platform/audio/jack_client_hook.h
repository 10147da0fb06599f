#pragma once
// Lets another layer (the MIDI ports) share the JACK output's client "Vorlan":
// the hook is told when the client opens and closes, runs at the start of
// each of its periods, and hears of ports registered on the server. One hook
// at a time; the output keeps working the same with none.
#include <jack/jack.h>

namespace audio {

class JackClientHook {
public:
    virtual ~JackClientHook() = default;
    // The client opened (maybe not yet activated) or is about to close; on a
    // client whose server went away (`lost`) nothing may be asked of JACK.
    // UI or engine thread.
    virtual void attach(jack_client_t* client) = 0;
    virtual void detach(jack_client_t* client, bool lost) = 0;
    // JACK's process thread, real time: no locks, no allocation, no I/O.
    virtual void process(jack_nframes_t frames) = 0;
    // A port was registered or unregistered on the server. JACK's
    // notification thread: note it, do not call JACK from here.
    virtual void portsChanged() = 0;
};

// Sets the hook (null removes it) and attaches it to the output's client
// when one is open. Returns only once the process thread has stopped using
// the previous hook. UI thread.
void setJackClientHook(JackClientHook* hook);

// Called by the JACK output: its client opened (before activation), is about
// to close, and runs a period.
void jackClientOpened(jack_client_t* client);
void jackClientClosing(jack_client_t* client, bool lost);
void runJackClientHook(jack_nframes_t frames);

} // namespace audio
