#pragma once
// The tag object: reads the ID3v2.3 tag at the start of an MP3 file into a
// frame list, gets and sets the twelve well-known frames, and writes the
// list back as a new tag in front of the unchanged audio, or strips the tag.
// Used from one thread (the caller's user-interface thread).
#include "tagweave/frames.h"
#include "tagweave/id3v2_enums.h"
#include "tagweave/tagweave_export.h"

#include <QString>

namespace tagweave {

class TAGWEAVE_EXPORT clsID3v2 {
public:
    // "Return a flag indicating whether or not the MP3 file contains an ID3v2.3.x Tag"
    bool HasTag() const { return hasTag_; }

    // "Read the contains for an MP3 file"
    void ReadTag(const QString& a_sfile);

    // "Write the tag to an MP3 file"
    void WriteTag(const QString& a_sfile, bool a_bIgnoreReadOnly);

    // "Strip away an ID3v2 tag"
    void RemoveTag(const QString& a_sfile, bool a_bIgnoreReadOnly);

    // "Return a specified frames data value": the data of the first frame
    // of that ID without its NULs; empty when there is none. The comment is
    // the first COMM without a description, else the first COMM.
    QString GetFrameValue(eID3FrameIDs a_eFrameID) const;

    // "Set a Frames text data": sets the data of the first frame of that ID
    // (for the comment, the first COMM without a description), or appends a
    // new frame of the ID's kind. The frame is then written plain, in the
    // encoding its text needs.
    void SetFrameValue(eID3FrameIDs a_eFrameID, const QString& a_sData);

    // The frame list, in tag order (opaque frames included).
    const clsFrames& Frames() const { return frames_; }
    clsFrames& Frames() { return frames_; }

private:
    // The frame a value is got from or set in; frames with a description
    // (machine data in comments) only when getting and no other is there.
    clsFrame* valueFrame(const QString& frameId, bool forSetting) const;

    clsFrames frames_;
    bool hasTag_ = false;
};

} // namespace tagweave
