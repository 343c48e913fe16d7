// The random seam: numbers as the C runtime's rand() gives them (0 to 32767), from a generator seeded
// once with the tick count. Salts and keys come from here, so that tests can pin them.
#pragma once

class IRandomSource {
public:
    virtual ~IRandomSource() = default;
    // The next number, 0 to 32767.
    virtual int Next() = 0;
};

// The source in use: the process-wide default unless a test installed its own.
IRandomSource& GetRandomSource();
// Installs `source` (nullptr restores the default) and returns the previous one (nullptr when it was
// the default). The caller keeps ownership.
IRandomSource* SetRandomSource(IRandomSource* source);
