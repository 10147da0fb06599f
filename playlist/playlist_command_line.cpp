// The playlist named on the program's command line, opened when the
// playlist window loads.
#include "core/program_state.h"
#include "platform/ui/dialogs.h"
#include "playlist/playlist_window.h"

#include <QFileInfo>

void playlistF::openCommandLinePlaylist(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile()) {
        // The answer the open dialog gives to a name that is not there; the
        // list stays as it was, with no playlist file.
        state.dialogs.msgBox(
            file.fileName() + "\nFile not found.\nPlease verify the correct file name was given.",
            ui::vbOKOnly | ui::vbExclamation, "Open Playlist...");
        return;
    }
    Load_playlist(path);
}
