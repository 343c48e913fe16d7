// The picture of one attachment for the Attachments page's preview: for now the shell's icon of the
// file, folder or Internet address, scaled to the edge. The image gallery's thumbnails (pictures of
// image files) take this function's place when they come.
#pragma once
#include <windows.h>

#include <string>

// Draws the picture of the attachment at `fullPath` of link kind `kind` in the square of side `edge`
// whose bottom-left corner is (`left`, `bottom`). False when there was nothing to draw.
bool DrawAttachmentThumbnail(HDC dc, int left, int bottom, const std::string& fullPath, int kind, int edge);
