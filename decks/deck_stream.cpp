// The deck's engine calls that depend on who opened its stream: the WMA
// add-on (kind 1) or the main library (kind 2).
#include "decks/deck.h"

#include "engine/engine_helpers.h"

namespace decks {

namespace {
constexpr std::int16_t kWmaStream = 1;
}

std::uint32_t Deck::getStreamPosition() const {
    const app::DeckRecord& r = record();
    const QWORD position = r.streamKind == kWmaStream ? BASS_WMA_ChannelGetPosition(r.stream)
                                                      : BASS_ChannelGetPosition(r.stream);
    if (position == static_cast<QWORD>(-1))
        return 0;
    return static_cast<std::uint32_t>(position);
}

int Deck::setStreamPosition(std::uint32_t bytes) {
    const app::DeckRecord& r = record();
    if (r.streamKind == kWmaStream)
        return BASS_WMA_ChannelSetPosition(r.stream, bytes, 0);
    const BOOL done = engine::seekChannel(r.stream, bytes);
    BASS_StreamPreBuf(r.stream);
    return done;
}

int Deck::playStream() {
    const app::DeckRecord& r = record();
    return r.streamKind == kWmaStream ? BASS_WMA_StreamPlay(r.stream, FALSE, 0)
                                      : BASS_StreamPlay(r.stream, FALSE, 0);
}

int Deck::resumeStream() {
    const app::DeckRecord& r = record();
    return r.streamKind == kWmaStream ? BASS_WMA_StreamPlay(r.stream, FALSE, 0)
                                      : BASS_ChannelResume(r.stream);
}

} // namespace decks
