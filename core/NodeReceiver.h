#pragma once
// Takes the node records of a database stream one at a time as they are
// read, for callers that look at every node once without keeping the whole
// tree (listing, checking, showing one note of a large database).

#include "core/NoteRecord.h"
#include "core/StringPieces.h"

class NodeReceiver {
public:
    virtual ~NodeReceiver() = default;

    // False when attachment bytes are not wanted: they are then read past
    // (still deciphered and counted) and attachmentData stays empty, while
    // attachmentSize keeps the stored size.
    virtual bool wantsAttachmentData() const { return true; }

    // Called when the body of `record` comes next (the fields before it are
    // read): a receiver that returns a taker gets the body through it in
    // pieces, and record.body stays empty.
    virtual StringPieces* bodyPieces(const NoteRecord& record) {
        (void)record;
        return nullptr;
    }

    // The number of node records the stream announces, before the first one.
    virtual void expect(int32_t count) { (void)count; }

    // One record, with the defaults of a new node where its layout has no
    // field. The receiver may change it or move from it: the reader refills
    // it for the next node. Records come in stream order, which may repeat
    // an id; keeping the first record of an id is the receiver's business.
    virtual void node(NoteRecord& record) = 0;
};
