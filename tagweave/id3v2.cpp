#include "tagweave/id3v2.h"

#include "tagweave/comment_frame.h"
#include "tagweave/errors.h"
#include "tagweave/file_functions.h"
#include "tagweave/opaque_frame.h"
#include "tagweave/tag_layout.h"

namespace tagweave {

namespace {

const QString kFile = QStringLiteral("%FILE%");

void requireFile(const QString& file, const QString& source) {
    if (!FileExists(file))
        RaiseError(msgFileNotFound, source, {kFile}, {file});
}

// Raises 111 for a read-only file unless the caller asked to ignore it.
// Returns whether the rewritten file must get its write permission back.
bool checkReadOnly(const QString& file, bool ignoreReadOnly, const QString& source) {
    if (!IsFileReadOnly(file))
        return false;
    if (!ignoreReadOnly)
        RaiseError(msgReadOnly, source, {kFile}, {file});
    return true;
}

// Bytes the current tag occupies at the start of `in` (header included),
// whatever its version; 0 without a tag. A tag longer than the file raises
// 112 from `source`.
std::int64_t oldTagLength(const InputFile& in, const QString& file, const QString& source) {
    const TagHeader header = ParseTagHeader(in.readAt(0, kHeaderSize));
    if (!header.isId3)
        return 0;
    const std::int64_t length = TagLength(header);
    if (length > in.size())
        RaiseError(msgInvalidFileSize, source, {kFile}, {file});
    return length;
}

// A comment with a description holds what a program left for itself
// (normalisation values, encoder settings), not the user's comment.
bool hasDescription(const clsFrame& frame) {
    const auto* comment = dynamic_cast<const clsComment_Frame*>(&frame);
    return comment && !QString(comment->Description()).remove(QChar(0)).isEmpty();
}

} // namespace

void clsID3v2::ReadTag(const QString& a_sfile) {
    const QString source = QStringLiteral("ID3v2::ReadTag");
    frames_.Clear();
    requireFile(a_sfile, source);
    const InputFile in(a_sfile, source);
    const TagHeader header = ParseTagHeader(in.readAt(0, kHeaderSize));
    if (!header.isId3 || header.major != 3) {
        hasTag_ = false;
        return;
    }
    // The tag size is checked against the file before anything is allocated.
    if (header.bodySize > in.size() - kHeaderSize)
        RaiseError(msgInvalidFileSize, source, {kFile}, {a_sfile});
    hasTag_ = true;
    const QByteArray body = in.readAt(kHeaderSize, header.bodySize);
    if (body.size() != header.bodySize) // the file shrank while being read
        RaiseError(msgInvalidFileSize, source, {kFile}, {a_sfile});
    ReadFrames(body, header.flags, frames_, a_sfile, source);
}

void clsID3v2::WriteTag(const QString& a_sfile, bool a_bIgnoreReadOnly) {
    const QString source = QStringLiteral("clsID3v2::WriteTag");
    requireFile(a_sfile, source);
    const bool clearReadOnly = checkReadOnly(a_sfile, a_bIgnoreReadOnly, source);
    const InputFile in(a_sfile, source);
    const std::int64_t audioStart = oldTagLength(in, a_sfile, QStringLiteral("ID3v2::WriteTag"));
    const QByteArray tag = BuildTag(frames_, a_sfile, source);
    RewriteFile(a_sfile, tag, in, audioStart, clearReadOnly, source);
    hasTag_ = true;
}

void clsID3v2::RemoveTag(const QString& a_sfile, bool a_bIgnoreReadOnly) {
    const QString source = QStringLiteral("clsID3v2::RemoveTag");
    requireFile(a_sfile, source);
    const bool clearReadOnly = checkReadOnly(a_sfile, a_bIgnoreReadOnly, source);
    const InputFile in(a_sfile, source);
    const std::int64_t audioStart = oldTagLength(in, a_sfile, source);
    if (audioStart == 0)
        return; // no tag: nothing changes
    RewriteFile(a_sfile, QByteArray(), in, audioStart, clearReadOnly, source);
    frames_.Clear();
    hasTag_ = false;
}

clsFrame* clsID3v2::valueFrame(const QString& frameId, bool forSetting) const {
    clsFrame* first = nullptr;
    for (const auto& frame : frames_) {
        if (frame->FrameID() != frameId || dynamic_cast<clsOpaque_Frame*>(frame.get()))
            continue;
        if (!hasDescription(*frame))
            return frame.get();
        if (!first)
            first = frame.get();
    }
    return forSetting ? nullptr : first;
}

QString clsID3v2::GetFrameValue(eID3FrameIDs a_eFrameID) const {
    const clsFrame* frame = valueFrame(LookupFrameID(a_eFrameID), false);
    if (!frame)
        return {};
    return frame->Data().remove(QChar(0));
}

void clsID3v2::SetFrameValue(eID3FrameIDs a_eFrameID, const QString& a_sData) {
    const QString frameId = LookupFrameID(a_eFrameID);
    if (clsFrame* frame = valueFrame(frameId, true)) {
        frame->setData(a_sData);
        return;
    }
    const FrameKind kind = KindOfFrameID(frameId);
    if (kind == FrameKind::Unknown)
        RaiseError(msgUnknownFrameID, QStringLiteral("clsID3v2::setFrameValue"),
                   {QStringLiteral("%FRAMEID%")}, {frameId});
    auto frame = CreateFrame(kind);
    frame->setFrameID(frameId);
    frame->setData(a_sData);
    frames_.Add(std::move(frame));
}

} // namespace tagweave
