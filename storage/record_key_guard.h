// Masked packed fields (mode 3) are readable only under the record key they were written with, and
// that key exists only while the file's password has been given. Writing one under any other key
// (the zero key of a locked file or of a file without a password) would store text that no later
// session can read, so the record writers refuse it first.
#pragma once

class CDataFile;

// The mode a packed field is stored in: `mode`, or 3 while the file protects all articles.
int EffectivePackedMode(const CDataFile& file, int mode);
// True when the file's record key is set (a password was set or verified in this session).
bool HasRecordKey(const CDataFile& file);
// Code 48 with the file's path when a field in `mode` would be masked without the record key.
void RequireRecordKeyFor(const CDataFile& file, int mode);
