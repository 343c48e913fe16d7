// The byte buffer of every clipboard format of the program, in one block of movable global memory
// (GMEM_MOVEABLE | GMEM_ZEROINIT). Writing appends typed values (CClipboardCodec); the owner then
// takes the block with ReleaseBlock and gives it to SetClipboardData, which owns it from then on.
// Reading copies one format's data from the clipboard into a block of the buffer's own and takes
// typed values from it; Free releases that block. The destructor frees nothing: a block still held
// belongs to the owner, who hands it over or calls Free.
#pragma once
#include <windows.h>

#include "storage/clipboard_codec.h"

class CClipboardBuffer : public CClipboardCodec {
public:
    CClipboardBuffer() = default;

    // Copies the clipboard's data of `format` (GlobalSize bytes) into a new block; reading starts at
    // its first byte. Frees the buffer's block first. Throws CQuorError kClipboardBusy when the
    // clipboard cannot be opened, kClipboardFormatMissing when it holds no data of the format or
    // the data is empty, kOutOfMemory when memory cannot be had (the buffer is then
    // empty). The clipboard is closed on every path.
    void ReadFromClipboard(UINT format);
    // GlobalFree of the block; block, size and read position back to none.
    void Free();

    // The block cut to exactly the bytes written, given up by the buffer (null when nothing was
    // written): for SetClipboardData, or to free.
    HGLOBAL ReleaseBlock();
    HGLOBAL GetBlock() const { return m_block; }

protected:
    bool ResizeBlock(std::size_t capacity) override;
    char* LockBlock() override;
    void UnlockBlock() override;
    bool HasBlock() const override { return m_block != nullptr; }

private:
    HGLOBAL m_block = nullptr;
};
