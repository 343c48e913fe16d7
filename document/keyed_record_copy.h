// Copies a keyed record from one data file to another as it stands. Every keyed record carried this
// way (print header 2, page layout 3, per-file settings 4, print footer 6, export header 7, password
// 9, 13 and 14) is one counted byte block: int32 n, then n bytes (see keyed_record_stream.h).
#pragma once

class CDataFile;

// False when `source` has no record of the key; read and write failures raise their codes.
bool CopyKeyedRecordBytes(CDataFile& source, CDataFile& target, int key);
