#pragma once
// A private JACK server for the tests: the dummy backend, paced in real time
// like a sound card, with 256-frame periods and a server name of its own, so
// that parallel test programs and the user's own server are never touched.
// While it lives, JACK clients of this process (PortAudio's JACK host among
// them) reach this server and no other.
#include <string>
#include <sys/types.h>

namespace audio_test {

class JackServer {
public:
    static constexpr int periodFrames = 256;
    // Four playback ports, as a sound card with a headphone pair has.
    static constexpr int playbackPorts = 4;

    // Starts the server at `rate` Hz and waits until it takes clients. With
    // `realtime` its threads and its clients' run at real-time priority where
    // the system allows it (as a DJ's server runs), so other work on a busy
    // machine does not starve the periods; elsewhere they run at normal
    // priority. VORLAN_JACK_NO_REALTIME=1 in the environment asks for normal
    // priority everywhere.
    explicit JackServer(int rate = 44100, bool realtime = realtimeUnlessAskedNot());
    static bool realtimeUnlessAskedNot();
    ~JackServer();
    JackServer(const JackServer&) = delete;
    JackServer& operator=(const JackServer&) = delete;

    bool running() const { return pid_ > 0; }
    // Why the server could not start (empty while it runs).
    const std::string& failure() const { return failure_; }
    const std::string& name() const { return name_; }
    int rate() const { return rate_; }

    // Makes this server the one the process's JACK clients reach.
    void select() const;
    // Ends the server as a crash would (SIGKILL) and waits for it to go.
    void kill();
    // Ends the server as its user would (SIGTERM) and waits for it to go.
    void stop();
    // Starts it again under the same name; false (with failure()) when it cannot.
    bool restart() { return launch(); }

private:
    bool launch();

    std::string name_;
    int rate_;
    bool realtime_;
    pid_t pid_ = -1;
    std::string failure_;
};

} // namespace audio_test
