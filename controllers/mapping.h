#pragma once
// A controller mapping: which MIDI message runs or moves which action of the
// actions table (mixer/actions.h). Read from a JSON file, one per controller
// model:
//   { "name": "...", "bindings": [
//       { "action": "deck.left.play", "channel": 1, "note": 16, "light": true },
//       { "action": "crossfader", "channel": 1, "cc": 8, "softTakeover": true },
//       { "action": "deck.left.pitch", "channel": 1, "cc14": 9, "invert": true },
//       { "action": "deck.right.pitch", "channel": 2, "pitchBend": true, "range": [0.25, 0.75] },
//       { "action": "mixer.main.volume", "channel": 1, "cc": 20, "relative": true } ] }
// Channels are 1..16 in the file. "cc14" n pairs control n (the 7 high bits)
// with control n + 32 (the 7 low bits). "relative" reads the control as an
// encoder: 1..63 steps up, 127..65 steps down.
#include "mixer/actions.h"

#include <QString>
#include <optional>
#include <vector>

namespace controllers {

enum class MessageKind { Note, Control, Control14, PitchBend };

struct Binding {
    mixer::Action action{};
    MessageKind kind = MessageKind::Note;
    int channel = 0; // 0..15
    int number = 0;  // note or control number (the high one of a 14-bit pair)
    bool relative = false;
    bool softTakeover = false;
    bool invert = false;
    bool light = false; // the action's state is sent back on the same note or control
    double low = 0.0;   // the travel of the control, as a part of the action's (0..1)
    double high = 1.0;
};

struct Mapping {
    QString name;
    std::vector<Binding> bindings;
};

// A mapping file read, or why it was refused (`error`, naming the line).
struct MappingRead {
    std::optional<Mapping> mapping;
    QString error;
};

MappingRead parseMapping(const QByteArray& text, const QString& fileName);
MappingRead readMappingFile(const QString& path);
// The mapping as a file's text (what a learned binding is saved as).
QByteArray mappingText(const Mapping& mapping);

} // namespace controllers
