#include "platform/audio/jack_client_hook.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace audio {
namespace {

// The hook and the open client, for the process-wide JACK output.
struct HookSlot {
    std::mutex mutex; // UI and engine threads; never taken by JACK's threads
    JackClientHook* hook = nullptr;
    jack_client_t* client = nullptr;
    std::atomic<JackClientHook*> active{nullptr}; // what the JACK threads use
    std::atomic<int> inUse{0};                    // JACK threads inside the hook
};

HookSlot& slot() {
    static HookSlot s;
    return s;
}

void portRegistered(jack_port_id_t, int, void*) {
    HookSlot& s = slot();
    s.inUse.fetch_add(1);
    if (JackClientHook* hook = s.active.load())
        hook->portsChanged();
    s.inUse.fetch_sub(1);
}

// Waits until no JACK thread is inside a hook taken out of `active`.
void waitUntilUnused(HookSlot& s) {
    while (s.inUse.load() != 0)
        std::this_thread::yield();
}

} // namespace

void setJackClientHook(JackClientHook* hook) {
    HookSlot& s = slot();
    std::lock_guard lock(s.mutex);
    s.active.store(nullptr);
    waitUntilUnused(s);
    if (s.hook && s.client)
        s.hook->detach(s.client, false);
    s.hook = hook;
    if (s.hook && s.client)
        s.hook->attach(s.client);
    s.active.store(s.hook);
}

void jackClientOpened(jack_client_t* client) {
    HookSlot& s = slot();
    std::lock_guard lock(s.mutex);
    s.client = client;
    jack_set_port_registration_callback(client, &portRegistered, nullptr);
    if (s.hook)
        s.hook->attach(client);
    s.active.store(s.hook);
}

void jackClientClosing(jack_client_t* client, bool lost) {
    HookSlot& s = slot();
    std::lock_guard lock(s.mutex);
    if (s.client != client)
        return;
    s.active.store(nullptr);
    waitUntilUnused(s);
    if (s.hook)
        s.hook->detach(client, lost);
    s.client = nullptr;
}

void runJackClientHook(jack_nframes_t frames) {
    HookSlot& s = slot();
    s.inUse.fetch_add(1);
    if (JackClientHook* hook = s.active.load())
        hook->process(frames);
    s.inUse.fetch_sub(1);
}

} // namespace audio
