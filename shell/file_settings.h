// The per-file part of the program's settings: what each data file remembers of its own look and
// links (word wrap, the text font and colour, the attachments folder), kept in its keyed record 4 and
// held, while the file is open, in the program's CAppSettings.
//
// Per-file settings record (keyed record 4; integers little-endian):
//   offset  size  field
//   0       4     payload length L = 74 + size(FontDescription) + size(LinkLocationPath), the bytes after it
//   4       2     AutoUpdateDates
//   6       2     DisplayDate (ignored on reading)
//   8       2     InitList (ignored on reading)
//   10      2     ArtSize (ignored on reading)
//   12      2     WordWrap
//   14      2     AutoSave (ignored on reading)
//   16      50    FileFont, compact: height, width, escapement, orientation, weight (int16 each); italic,
//                 underline, strike-out, charset, out precision, clip precision, quality, pitch and family
//                 (1 byte each); face name (32 bytes, NUL-terminated)
//   66      4     FileTextColor
//   70      4     FileAutoColor
//   74      var   FontDescription: int32 n (length + 1, or 0 when empty), then n bytes with the NUL
//   var     2     LinkLocationMode
//   var     var   LinkLocationPath, same string form
//   var     2     SaveFullPathnames
//   var     var   Comments, same string form; written only when not empty (L then grows by its size),
//                 so a file without comments keeps the bytes older programs wrote and read
// The size of a string is its length + 5 when it is not empty, else 4.
//
// The record is untrusted on reading: a field is taken only while the record still holds all of it;
// a string length that is negative or runs past the record, or a face name without its NUL, ends the
// reading there, and every field not read keeps its default.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class CAppSettings;
class CByteBuffer;
class CDataFile;
class CRecordStream;

class CFileSettings {
public:
    static constexpr int16_t kKey = 4;

    // Reads into and writes from `settings`, which must outlive this object.
    explicit CFileSettings(CAppSettings& settings) : m_settings(settings) {}

    // Record 4 of an opened data file: defaults and the stored options first, then the record over
    // them. A missing or damaged record leaves the defaults (it never fails the open); other errors (a
    // file that cannot be read) pass to the caller. The settings are then clean.
    void Load(CDataFile& file);
    // Writes record 4 (creating it when missing) when the per-file part changed, and marks it clean;
    // the caller checks that the open document may be modified.
    void Save(CDataFile& file);

    // The record over an open stream: the length, then as much of the payload as the record holds.
    // The stream's owner opens and closes it; WriteTo leaves the dirty flag to the caller.
    void ReadFrom(CRecordStream& stream);
    void WriteTo(CRecordStream& stream) const;

    // The record as bytes, its length field first.
    std::vector<uint8_t> Encode() const;
    // Applies the fields of a payload (the bytes after the length field) over the current values and
    // marks the settings clean; the caller resets first.
    void Decode(const uint8_t* payload, size_t size);

private:
    void AppendPayload(CByteBuffer& out) const;

    CAppSettings& m_settings;
};
