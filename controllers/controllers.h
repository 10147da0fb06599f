#pragma once
// The program's MIDI controllers: every device on the transports (JACK MIDI
// on the output's client, the ALSA sequencer) played through a mapping,
// devices picked up and dropped as they come and go, lights kept up to
// date, and bindings learned. Every device plays through the mapping of all
// devices, unless it was given its own (a controller model of its own); a
// device's lights go to it alone. A mapping is a file of the shipped folder
// (share/vorlan/controllers) or of the user's
// ($XDG_DATA_HOME/vorlan/controllers); learned bindings are saved in the
// user's. UI thread.
#include "controllers/mapped_controller.h"
#include "platform/midi/midi_transport.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace core {
struct ProgramState;
}

namespace controllers {

class ControllerWindow;

// How often (ms) the devices and the lights are compared.
inline constexpr int kLightsMs = 40;

class Controllers : public QObject {
    Q_OBJECT

public:
    Controllers(core::ProgramState& state, mixer::ActionRunner& actions,
                std::vector<std::unique_ptr<midi::MidiTransport>> transports);
    ~Controllers() override;
    // Uses the mapping that was in use when the program last ran.
    void restoreMapping();

    // The mapping files there are: the shipped ones, then the user's.
    QStringList mappingFiles() const;
    static QString shippedFolder();
    static QString userFolder();
    // Uses the mapping file at `path` for every device without its own, or
    // for the device named `device` alone (remembered for the next start, a
    // device's by its name). A file with an error is refused with a message
    // box naming the line. An empty path, or a refused file, uses no mapping
    // for all devices, and the mapping of all devices for one device.
    bool useMapping(const QString& path, const QString& device = {});
    const QString& mappingPath() const { return all_.path; }
    const std::optional<Mapping>& mapping() const { return all_.controller->mapping(); }
    // The device's own mapping file; empty when it plays through all devices'.
    QString mappingPath(const QString& device) const;
    // The devices connected now, by name.
    QStringList devices() const;

    // The next control moved (a note played, a control turned, a bend) is
    // bound to `action` in the mapping its device plays through (a new one
    // in the user's folder when there is none), and the mapping is saved there.
    void learn(mixer::Action action);
    void cancelLearning();
    bool learning() const { return learning_.has_value(); }

    // The controller window, shown modally over the window open now.
    ControllerWindow& window();
    void showWindow();

    // Reads the transports and acts on what came (run whenever a transport
    // tells that something came).
    void poll();

signals:
    void devicesChanged();
    // A binding was learned and saved at `path` (empty: it could not be saved).
    void learned(const QString& path);

private:
    // A mapping file in use and the controller playing through it.
    struct Played {
        QString path;
        std::unique_ptr<MappedController> controller;
    };
    // Starts or stops the lights while a mapping is in use or a binding is learned.
    void listen();
    // Tells of devices that came or went since the last look.
    void checkDevices();
    // What plays the device named `device`: its own mapping, else all devices'.
    Played& playedBy(const QString& device);
    void learnFrom(const midi::MidiMessage& message, const QString& device);
    // Lights: of the mapping of all devices to every device without its own
    // (device empty), of a device's own mapping to that device.
    void sendLight(midi::MidiMessage message, const QString& device);
    // Reads the mapping at `path` into `played`; the error's text, if any.
    QString play(Played& played, const QString& path);
    // Saves the mapping file of all devices (device empty) or of one device
    // (an empty path forgets it) for the next start.
    void remember(const QString& device, const QString& path);

    core::ProgramState& state_;
    std::vector<std::unique_ptr<midi::MidiTransport>> transports_;
    mixer::ActionRunner& actions_;
    Played all_;
    std::map<QString, Played> own_; // by device name
    std::optional<mixer::Action> learning_;
    std::vector<midi::MidiMessage> received_;
    QStringList devices_;
    QTimer lightsTimer_;
    std::unique_ptr<ControllerWindow> window_;
};

} // namespace controllers
