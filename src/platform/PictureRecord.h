// The stored forms of a picture in a script: the record the picture search
// step keeps each picture in, read into a VBmp (and written, for the tools
// and tests that make scripts). Two forms exist: a small container of
// width ('W'), height ('H'), bits per pixel ('BP') and pixels ('PIX'), and,
// in older scripts, the whole image of a bitmap file, which the platform's
// image library reads.
//
// Stored bytes are untrusted: a form that does not hold together reads as no
// picture, and nothing outside the record is ever looked at.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "container/Container.h"
#include "container/RecordBuffer.h"
#include "platform/Picture.h"

namespace ovrix {

class ImageFiles;

// The container form. The pixels are taken only when 'PIX' holds exactly
// width x height x 4 bytes; without them, or with a size or depth of 0,
// there is no picture.
std::optional<VBmp> ReadPictureRecord(Region data);
// Writes the container form's records; nothing for an empty picture.
void WritePictureRecord(RecordBuffer& buffer, const VBmp& picture);

// Either form, as the step's record holds it.
std::optional<VBmp> ReadStoredPicture(std::span<const uint8_t> bytes, bool bitmapFile, ImageFiles& files);

}  // namespace ovrix
